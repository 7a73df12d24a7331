#!/usr/bin/env bash
# A new file that cannot grow (a file size limit, as a full disk) stops the job with
# "Varnex Error - Convertion" and no completion message; the file keeps what was written.
#   disk_full_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/file_job_steps.sh"

mkdir -p "$work/texts"
head -c 3145728 /dev/urandom | tr -d '\000' | tr '\200-\277' '\300-\377' >"$work/texts/big.txt"
iconv -f KOI8-R -t WINDOWS-1251 "$work/texts/big.txt" >"$work/expected"
limit_kib=1500
# Under the file size limit the web engine of the advert panel takes a path on which
# AddressSanitizer reports a sized-delete mismatch inside libQt6WebEngineCore (not ours)
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}new_delete_type_mismatch=0"

start_program_with_fonts bash -c 'ulimit -f "$1" && exec "$2"' limit "$limit_kib" "$program"
choose_source "$work/texts/big.txt"
start_job
box=$(wait_for_window "Varnex Error - Convertion") || fail "no failure message"
[[ -z $(xdotool search --name '^Varnex$' 2>/dev/null || true) ]] || fail "a completion message was shown"
output=$work/texts/big_Windows-1251.txt
expect_prefix "$output" "$work/expected"
size=$(stat -c %s "$output")
((size == limit_kib * 1024)) || fail "the new file holds $size bytes, not all that fitted"
press_keys "$box" Return
window=$(wait_for_window "Varnex 2010") || fail "the caption did not come back"
[[ -z $(xdotool search --name '^Varnex$' 2>/dev/null || true) ]] || fail "a completion message followed"
press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "disk full: failure reported, $size bytes kept"
