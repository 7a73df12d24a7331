/* A C11 program that uses libvarnex through its installed header alone: it converts, handles
 * each status, converts a file and a batch, detects, and fails as documented.
 *   c_client MAP|- WORK_FOLDER     ("-" opens the shipped map) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <varnex.h>

static int failures = 0;

#define CHECK(condition)                                                                                 \
    do {                                                                                                 \
        if (!(condition)) {                                                                              \
            fprintf(stderr, "%s:%d: %s (%s)\n", __FILE__, __LINE__, #condition, varnex_error_message()); \
            ++failures;                                                                                  \
        }                                                                                                \
    } while (0)

/* KOI8-R "Привет" and its UTF-8 form. */
static const uint8_t koi8[] = {0xF0, 0xD2, 0xC9, 0xD7, 0xC5, 0xD4};
static const char utf8[] = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

static void Fonts(varnex_map* map) {
    const char* font = NULL;
    CHECK(varnex_map_font_count(map) >= 10);
    CHECK(varnex_map_font(map, varnex_map_font_count(map)) == NULL);
    CHECK(varnex_map_find_font(map, "koi8r", &font) == VARNEX_OK && strcmp(font, "KOI8-R") == 0);
    CHECK(varnex_map_find_font(map, "no such font", &font) == VARNEX_ERROR);
    CHECK(strstr(varnex_error_message(), "nearest") != NULL);
    /* the names people type: a code page's usual names, and one name of two fonts refused */
    CHECK(varnex_map_find_font(map, "cp1251", &font) == VARNEX_OK && strcmp(font, "Windows-1251") == 0);
    CHECK(varnex_map_find_font(map, "koi8", &font) == VARNEX_ERROR &&
          strstr(varnex_error_message(), "KOI8-U"));
    size_t windows = 0, found = 0;
    while (varnex_map_font(map, windows) && strcmp(varnex_map_font(map, windows), "Windows-1251") != 0)
        ++windows;
    for (size_t i = 0; i < varnex_map_alias_count(map, windows); ++i)
        found += strcmp(varnex_map_alias(map, windows, i), "CP1251") == 0 ||
                 strcmp(varnex_map_alias(map, windows, i), "cp1251") == 0;
    CHECK(found == 1);
    CHECK(varnex_map_alias(map, windows, varnex_map_alias_count(map, windows)) == NULL);
}

static void InPieces(varnex_map* map) {
    varnex_converter* converter = NULL;
    uint8_t out[64];
    size_t used_in = 0, used_out = 0, total = 0;
    CHECK(varnex_converter_open(map, "KOI8-R", "UTF-8", VARNEX_DROP, 0, NULL, NULL, &converter) == VARNEX_OK);
    /* a buffer of five bytes holds two letters at a time */
    size_t at = 0;
    varnex_status status = VARNEX_OUTPUT_FULL;
    while (status == VARNEX_OUTPUT_FULL) {
        status = varnex_convert(converter, koi8 + at, sizeof koi8 - at, &used_in, out + total, 5, &used_out,
                                VARNEX_END_OF_INPUT);
        at += used_in;
        total += used_out;
        CHECK(used_out <= 5);
    }
    CHECK(status == VARNEX_OK);
    CHECK(total == strlen(utf8) && memcmp(out, utf8, total) == 0);
    varnex_converter_close(converter);

    /* UTF-8 cut inside a character waits for the rest */
    CHECK(varnex_converter_open(map, "UTF-8", "KOI8-R", VARNEX_STOP, 0, NULL, NULL, &converter) == VARNEX_OK);
    CHECK(varnex_convert(converter, (const uint8_t*)utf8, 3, &used_in, out, sizeof out, &used_out, 0) ==
          VARNEX_NEEDS_MORE_INPUT);
    CHECK(used_in == 3 && used_out == 1 && out[0] == 0xF0);
    CHECK(varnex_convert(converter, (const uint8_t*)utf8 + 3, strlen(utf8) - 3, &used_in, out + 1,
                         sizeof out - 1, &used_out, VARNEX_END_OF_INPUT) == VARNEX_OK);
    CHECK(used_out == 5 && memcmp(out, koi8, 6) == 0);
    /* cut short at its end: ill-formed */
    varnex_converter_reset(converter);
    CHECK(varnex_convert(converter, (const uint8_t*)utf8, 1, &used_in, out, sizeof out, &used_out, 0) ==
          VARNEX_NEEDS_MORE_INPUT);
    CHECK(varnex_converter_flush(converter, out, sizeof out, &used_out) == VARNEX_UNMAPPED);
    CHECK(varnex_unmapped_kind_of(converter) == VARNEX_UNMAPPED_ILL_FORMED &&
          varnex_unmapped_offset(converter) == 0);
    varnex_converter_close(converter);
}

static unsigned told = 0;
static void Tell(void* context, uint64_t offset, uint32_t value, varnex_unmapped_kind kind) {
    (void)context;
    told += offset == 1 && value == 0x80 && kind == VARNEX_UNMAPPED_CODE;
}

static void Unmapped(varnex_map* map) {
    /* KOI8-R 0x80 is a box drawing line, which Windows-1251 lacks */
    const uint8_t text[] = {'A', 0x80, 'B'};
    uint8_t out[16];
    size_t used_in = 0, used_out = 0;
    varnex_converter* converter = NULL;
    CHECK(varnex_converter_open(map, "KOI8-R", "Windows-1251", VARNEX_STOP, 0, NULL, NULL, &converter) ==
          VARNEX_OK);
    CHECK(varnex_convert(converter, text, 3, &used_in, out, sizeof out, &used_out, VARNEX_END_OF_INPUT) ==
          VARNEX_UNMAPPED);
    CHECK(used_in == 2 && used_out == 1 && out[0] == 'A');
    CHECK(varnex_unmapped_offset(converter) == 1 && varnex_unmapped_value(converter) == 0x80);
    CHECK(varnex_convert(converter, text + 2, 1, &used_in, out, sizeof out, &used_out, VARNEX_END_OF_INPUT) ==
          VARNEX_OK);
    CHECK(used_out == 1 && out[0] == 'B');
    varnex_converter_close(converter);

    CHECK(varnex_converter_open(map, "KOI8-R", "Windows-1251", VARNEX_CALLBACK, VARNEX_KEEP_OFFSETS, Tell,
                                NULL, &converter) == VARNEX_OK);
    CHECK(varnex_convert(converter, text, 3, &used_in, out, sizeof out, &used_out, VARNEX_END_OF_INPUT) ==
          VARNEX_OK);
    CHECK(used_out == 2 && told == 1);
    CHECK(varnex_dropped_count(converter) == 1 && varnex_dropped_offset_count(converter) == 1);
    CHECK(varnex_dropped_offset(converter, 0) == 1);
    varnex_converter_close(converter);
    CHECK(varnex_converter_open(map, "KOI8-R", "UTF-8", VARNEX_CALLBACK, 0, NULL, NULL, &converter) ==
          VARNEX_ERROR);
}

static int StopAtOnce(void* context, uint64_t done, uint64_t total) {
    (void)context, (void)done, (void)total;
    return 1;
}

static void Files(varnex_map* map, const char* work) {
    char input[4096], output[4096];
    snprintf(input, sizeof input, "%s/letter.txt", work);
    snprintf(output, sizeof output, "%s/letter-utf8.txt", work);
    FILE* file = fopen(input, "wb");
    fwrite(koi8, 1, sizeof koi8, file);
    fclose(file);
    CHECK(varnex_convert_file(map, "KOI8-R", "UTF-8", input, output, 0, NULL, NULL) == VARNEX_OK);
    char text[64] = {0};
    file = fopen(output, "rb");
    CHECK(file && fread(text, 1, sizeof text - 1, file) == strlen(utf8) && strcmp(text, utf8) == 0);
    if (file) fclose(file);
    /* an existing output is kept without force; a cancelled one never appears */
    CHECK(varnex_convert_file(map, "KOI8-R", "UTF-8", input, output, 0, NULL, NULL) == VARNEX_ERROR);
    CHECK(strstr(varnex_error_message(), "exists already") != NULL);
    snprintf(output, sizeof output, "%s/cancelled.txt", work);
    CHECK(varnex_convert_file(map, "KOI8-R", "UTF-8", input, output, 0, StopAtOnce, NULL) ==
          VARNEX_CANCELLED);
    CHECK(fopen(output, "rb") == NULL);

    const char* inputs[] = {input};
    varnex_batch_request request = {0};
    request.from = "auto";
    request.to = "Windows-1251";
    request.inputs = inputs;
    request.input_count = 1;
    request.output_kind = VARNEX_OUTPUT_BESIDE;
    varnex_batch_totals totals;
    CHECK(varnex_convert_batch(map, &request, NULL, NULL, NULL, &totals) == VARNEX_ERROR); /* 6 letters */
    CHECK(totals.failed == 1 && strstr(varnex_error_message(), "cannot tell") != NULL);
    request.from = "KOI8-R";
    CHECK(varnex_convert_batch(map, &request, NULL, NULL, NULL, &totals) == VARNEX_OK &&
          totals.converted == 1);
}

static void Detection(varnex_map* map) {
    const char* text =
        "\xF7\xC5\xDE\xC5\xD2\xCF\xCD \xCD\xD9 \xC4\xCF\xCC\xC7\xCF \xC7\xD5\xCC\xD1\xCC\xC9 "
        "\xD0\xCF \xCE\xC1\xC2\xC5\xD2\xC5\xD6\xCE\xCF\xCA."; /* KOI8-R */
    varnex_detection* detection = NULL;
    CHECK(varnex_detect(map, (const uint8_t*)text, strlen(text), &detection) == VARNEX_OK);
    CHECK(varnex_detection_verdict(detection) == VARNEX_VERDICT_FONT);
    CHECK(strcmp(varnex_detection_font(detection, 0), "KOI8-R") == 0);
    CHECK(varnex_detection_confidence(detection, 0) > 0.9 && varnex_detection_confidence(detection, 0) <= 1);
    CHECK(strcmp(varnex_detection_language(detection, 0), "Russian") == 0);
    CHECK(varnex_detection_typed(detection) == NULL);
    CHECK(varnex_detection_font(detection, varnex_detection_count(detection)) == NULL);
    varnex_detection_free(detection);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_client MAP|- WORK_FOLDER\n");
        return 2;
    }
    varnex_map* map = NULL;
    CHECK(varnex_map_open("/nowhere/mskvmap16.dll", &map) == VARNEX_ERROR && map == NULL);
    CHECK(strlen(varnex_error_message()) > 0);
    if (varnex_map_open(strcmp(argv[1], "-") == 0 ? NULL : argv[1], &map) != VARNEX_OK) {
        fprintf(stderr, "cannot open the map: %s\n", varnex_error_message());
        return 1;
    }
    Fonts(map);
    InPieces(map);
    Unmapped(map);
    Files(map, argv[2]);
    Detection(map);
    varnex_map_close(map);
    printf("libvarnex %s: %s\n", varnex_version(), failures ? "FAILED" : "all passed");
    return failures ? 1 : 0;
}
