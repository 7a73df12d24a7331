/* libvarnex: the converter of Varnex 2010 for other programs.
 *
 * Text typed for one legacy 8-bit font (KOI8-R, CP866, MIK ...) is converted into the codes of
 * another, or to and from UTF-8, with a font map (mskvmap16.dll): the same engine, rule and
 * map as the programs varnex and Varnex2010, so a text converted either way is the same, byte
 * for byte.
 *
 * Every call returns a status; after VARNEX_ERROR, varnex_error_message() gives the text of
 * the failure, for this thread. A map is immutable once open and may be shared between
 * threads; a converter belongs to one thread at a time. No C++ exception leaves the library.
 */
#ifndef VARNEX_H
#define VARNEX_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#pragma GCC visibility push(default)
#endif

typedef enum varnex_status {
    VARNEX_OK = 0,
    VARNEX_OUTPUT_FULL = 1,      /* the output buffer has no room for the next character */
    VARNEX_NEEDS_MORE_INPUT = 2, /* the input ends inside a UTF-8 sequence: give the rest */
    VARNEX_UNMAPPED = 3,         /* a code or character without an entry (VARNEX_STOP) */
    VARNEX_CANCELLED = 4,        /* a progress callback asked to stop */
    VARNEX_ERROR = -1            /* see varnex_error_message() */
} varnex_status;

/* The text of the last failure on this thread ("" when there was none). */
const char* varnex_error_message(void);
/* "1.0" */
const char* varnex_version(void);

/* ---- Maps ---------------------------------------------------------------------------- */

typedef struct varnex_map varnex_map;

/* Opens a font map (SQLite, Jet 4.0 or its text form .tsv); NULL opens the shipped map. */
varnex_status varnex_map_open(const char* path, varnex_map** map);
void varnex_map_close(varnex_map* map);
size_t varnex_map_font_count(const varnex_map* map);
/* The name of font `index` (0 up), in the map's order; NULL past the last. */
const char* varnex_map_font(const varnex_map* map, size_t index);
/* The map's own name for a font as a person types it ("koi8r", "cp1251"); the pointer lives as
 * long as the map. VARNEX_ERROR names the nearest fonts of an unknown or ambiguous name. */
varnex_status varnex_map_find_font(const varnex_map* map, const char* typed, const char** font);

/* The other names font `index` answers to: the aliases the map declares for it, then its code
 * page's usual names ("cp1251", "ms-cyrl"); NULL past the last. */
size_t varnex_map_alias_count(const varnex_map* map, size_t font);
const char* varnex_map_alias(const varnex_map* map, size_t font, size_t index);

/* ---- Converters --------------------------------------------------------------------- */

typedef enum varnex_policy {
    VARNEX_DROP = 0,    /* a code without an entry is left out, as in the programs */
    VARNEX_STOP = 1,    /* varnex_convert stops at it with VARNEX_UNMAPPED */
    VARNEX_CALLBACK = 2 /* it is left out and told to the callback */
} varnex_policy;

typedef enum varnex_unmapped_kind {
    VARNEX_UNMAPPED_CODE = 0,      /* a code of a legacy font */
    VARNEX_UNMAPPED_CHARACTER = 1, /* a character of UTF-8 text, as its code point */
    VARNEX_UNMAPPED_ILL_FORMED = 2 /* bytes that are no UTF-8 */
} varnex_unmapped_kind;

/* Told of a code left out: its byte offset in the whole input, and the code or code point. */
typedef void (*varnex_unmapped_callback)(void* context, uint64_t offset, uint32_t value,
                                         varnex_unmapped_kind kind);

typedef struct varnex_converter varnex_converter;

/* Options of varnex_converter_open. */
#define VARNEX_KEEP_OFFSETS 1u /* keep the byte offset of every code left out (varnex_dropped_offset) */

/* A converter from one font of the map to another (names as varnex_map_find_font takes them).
 * The map must stay open while the converter is used. `callback` is for VARNEX_CALLBACK. */
varnex_status varnex_converter_open(const varnex_map* map, const char* from, const char* to,
                                    varnex_policy policy, unsigned options, varnex_unmapped_callback callback,
                                    void* context, varnex_converter** converter);
void varnex_converter_close(varnex_converter* converter);

/* Flags of varnex_convert. */
#define VARNEX_END_OF_INPUT 1u /* the input ends with this call */

/* Converts from `in` into `out` as far as both go. *in_used and *out_used tell how much was
 * taken and written. VARNEX_OK: all of the input is converted; VARNEX_OUTPUT_FULL: call again
 * with the rest and more room; VARNEX_NEEDS_MORE_INPUT: the input ended inside a UTF-8
 * sequence, which is kept for the next call; VARNEX_UNMAPPED (VARNEX_STOP): stopped at a code
 * without an entry, which is taken from the input and writes nothing; varnex_unmapped_offset
 * tells where it was, and the next call goes on after it. */
varnex_status varnex_convert(varnex_converter* converter, const uint8_t* in, size_t in_len, size_t* in_used,
                             uint8_t* out, size_t out_cap, size_t* out_used, unsigned flags);
/* The end of the input: a UTF-8 sequence cut short is ill-formed (VARNEX_UNMAPPED with STOP). */
varnex_status varnex_converter_flush(varnex_converter* converter, uint8_t* out, size_t out_cap,
                                     size_t* out_used);
/* As newly opened: for another text. */
void varnex_converter_reset(varnex_converter* converter);
/* Where the last VARNEX_UNMAPPED stopped: the byte offset in the whole input, the code or code
 * point, and its kind. */
uint64_t varnex_unmapped_offset(const varnex_converter* converter);
uint32_t varnex_unmapped_value(const varnex_converter* converter);
varnex_unmapped_kind varnex_unmapped_kind_of(const varnex_converter* converter);
/* The codes left out so far (VARNEX_DROP, VARNEX_CALLBACK, counted when VARNEX_KEEP_OFFSETS or
 * the callback asks for them), and with VARNEX_KEEP_OFFSETS their byte offsets. */
uint64_t varnex_dropped_count(const varnex_converter* converter);
size_t varnex_dropped_offset_count(const varnex_converter* converter);
uint64_t varnex_dropped_offset(const varnex_converter* converter, size_t index);

/* ---- Text as code points -------------------------------------------------------------- */

/* For callers that hold text as code points (UTF-32, UCS-2 or Latin-1 units of `width` 4, 2 or
 * 1 bytes), without a detour through UTF-8. A converter whose target is the Unicode font
 * ("UTF-8") decodes codes into code points; one whose source is the Unicode font encodes code
 * points into codes. Each call is a whole text of its own: the offsets it tells (callback,
 * varnex_unmapped_offset) count from its first code or code point. With VARNEX_STOP, the call
 * stops at the first one without an entry, taken from the input (*in_used counts it), with
 * VARNEX_UNMAPPED; the others are left out (and told to a callback).
 *
 * The room the output needs, in units, for `count` codes or code points; and for decoding,
 * whether every code point lies below U+10000 (so that width 2 holds them). */
size_t varnex_code_point_room(const varnex_converter* converter, size_t count);
int varnex_decodes_to_16_bits(const varnex_converter* converter);
/* `out` has room for varnex_code_point_room(in_len) units of `width`, or for as many as
 * varnex_measure_code_points counts for the same codes: nothing is written past the code
 * points decoded. *largest gets the bitwise
 * OR of the code points written (0 when none): it lies below 0x80, 0x100 or 0x10000 when all
 * of them do, which is what choosing a string's form needs. A code point that does not fit the
 * width is VARNEX_ERROR (what was written is then of no use). */
varnex_status varnex_decode_code_points(varnex_converter* converter, const uint8_t* in, size_t in_len,
                                        size_t* in_used, void* out, unsigned width, size_t* out_used,
                                        uint32_t* largest);
/* What varnex_decode_code_points of the same codes writes with VARNEX_DROP: how many code
 * points, and their OR; so that the output can be made of its exact size and narrowest width. */
varnex_status varnex_measure_code_points(varnex_converter* converter, const uint8_t* in, size_t in_len,
                                         size_t* count, uint32_t* largest);
/* `out` has room for varnex_code_point_room(in_len) bytes. U+FEFF is a character like the
 * others: text held as code points has no byte order mark. */
varnex_status varnex_encode_code_points(varnex_converter* converter, const void* in, unsigned width,
                                        size_t in_len, size_t* in_used, uint8_t* out, size_t* out_used);

/* ---- Files, documents and batches ------------------------------------------------------ */

/* Told how far a file or batch is; returning nonzero stops it (VARNEX_CANCELLED). */
typedef int (*varnex_progress_callback)(void* context, uint64_t bytes_done, uint64_t bytes_total);

typedef enum varnex_output_kind {
    VARNEX_OUTPUT_ONE_FILE = 0, /* every input into `output`, put in place when complete */
    VARNEX_OUTPUT_BESIDE = 1,   /* each input into NAME_TARGET.txt (a document keeps its extension) */
    VARNEX_OUTPUT_IN_PLACE = 2  /* each input replaced by its conversion */
} varnex_output_kind;

typedef struct varnex_batch_request {
    const char* from; /* a font of the map, or "auto" for each input's own */
    const char* to;
    const char* const* inputs; /* file names */
    size_t input_count;
    int recursive; /* a folder among the inputs stands for the files below it */
    varnex_output_kind output_kind;
    const char* output;        /* for VARNEX_OUTPUT_ONE_FILE */
    int force;                 /* an existing output may be replaced */
    const char* backup_suffix; /* in place: keep the original as NAME + suffix; NULL: do not */
    int keep_time;             /* in place: keep the times of each file */
    unsigned jobs;             /* files converted at once; 0: one per processor */
    int strict;                /* a code without an entry fails its input */
} varnex_batch_request;

typedef struct varnex_batch_totals {
    uint64_t converted, failed, skipped, bytes, dropped;
    int cancelled;
} varnex_batch_totals;

/* Converts a batch with the engine's safe output: outputs appear only when complete, never over
 * an input. The messages of failed inputs and skipped files go to `message` (may be NULL).
 * VARNEX_OK when every input converted; VARNEX_ERROR when any failed (the others still
 * convert; the error message is the first failure); VARNEX_CANCELLED when stopped. */
typedef void (*varnex_message_callback)(void* context, const char* message);
varnex_status varnex_convert_batch(const varnex_map* map, const varnex_batch_request* request,
                                   varnex_progress_callback progress, varnex_message_callback message,
                                   void* context, varnex_batch_totals* totals);
/* What varnex_convert_batch would do, without doing it: each input it would take (the files a
 * folder gives, without an earlier run's outputs), its output, and why it would fail (NULL when
 * it would not; an output that exists already is one). A file refused while the inputs are
 * listed (unreadable, damaged, not text) comes first, with an empty output and its fault. */
typedef void (*varnex_plan_callback)(void* context, const char* input, const char* output, const char* fault);
varnex_status varnex_plan_batch(const varnex_map* map, const varnex_batch_request* request,
                                varnex_plan_callback each, void* context);
/* One file (text, DOCX or ODT, by its content) into a new file `output`. */
varnex_status varnex_convert_file(const varnex_map* map, const char* from, const char* to, const char* input,
                                  const char* output, int force, varnex_progress_callback progress,
                                  void* context);

/* ---- Detection ------------------------------------------------------------------------- */

typedef enum varnex_verdict {
    VARNEX_VERDICT_FONT = 0,       /* the first candidate is the answer */
    VARNEX_VERDICT_ANY_FONT = 1,   /* every font reads it alike (plain ASCII) */
    VARNEX_VERDICT_CANNOT_TELL = 2 /* too few letters, or no clear winner */
} varnex_verdict;

typedef struct varnex_detection varnex_detection;

/* Ranks every font of the map for a sample (the first 64 KiB of a file is enough). */
varnex_status varnex_detect(const varnex_map* map, const uint8_t* sample, size_t length,
                            varnex_detection** detection);
void varnex_detection_free(varnex_detection* detection);
varnex_verdict varnex_detection_verdict(const varnex_detection* detection);
size_t varnex_detection_count(const varnex_detection* detection);
/* Candidate `index`: its first font (fonts that read the sample alike are one candidate), its
 * confidence from 0 to 1, and the language it reads best in. */
const char* varnex_detection_font(const varnex_detection* detection, size_t index);
double varnex_detection_confidence(const varnex_detection* detection, size_t index);
const char* varnex_detection_language(const varnex_detection* detection, size_t index);
/* Text read in the wrong font and saved again: the font it was typed in and the one it was
 * read as ("UTF-8", "Windows-1251"); NULL when it was not. */
const char* varnex_detection_typed(const varnex_detection* detection);
const char* varnex_detection_read_as(const varnex_detection* detection);

#if defined(__GNUC__)
#pragma GCC visibility pop
#endif

#ifdef __cplusplus
}
#endif

#endif /* VARNEX_H */
