#!/usr/bin/env bash
# The program ended during a file job, by Esc in the restored window or by SIGTERM, leaves
# in the new file every block converted before the end: the file is a prefix of iconv's
# conversion and at least as long as the blocks that the last caption showed.
#   end_during_job_test.sh PATH/TO/Varnex2010 escape|sigterm
program=$1 way=$2
source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/file_job_steps.sh"

# 3.5 MiB of text, then 64 GiB of NULs stored sparse: they have no entry and add nothing to
# the new file, but keep the job running long enough to be ended on purpose.
mkdir -p "$work/texts"
head -c 3670016 /dev/urandom | tr -d '\000' >"$work/texts/text.part"
iconv -c -f KOI8-R -t WINDOWS-1251 "$work/texts/text.part" >"$work/expected" || true
cp "$work/texts/text.part" "$work/texts/long.txt"
truncate -s +64G "$work/texts/long.txt"
length=$(stat -c %s "$work/texts/long.txt")
text_length=$(stat -c %s "$work/texts/text.part")

start_program_with_fonts "$program"
choose_source "$work/texts/long.txt"
start_job
caption=$(wait_for_progress_below 99.98) || fail "no progress caption past the text"
case $way in
  escape) press_keys "$window" Escape ;;
  sigterm) kill -TERM "$app_pid" ;;
  *) fail "unknown way to end: $way" ;;
esac
wait_for_exit "$app_pid" || fail "$way did not end the program"
app_pid=

output=$work/texts/long_Windows-1251.txt
[[ -f $output ]] || fail "no new file"
expect_prefix "$output" "$work/expected"
# the block that the caption reports starts at p >= length * (1 - (R + 0.005) / 100)
percent=${caption#Remaining: }
percent=${percent%\%}
converted=$(awk -v l="$length" -v r="$percent" -v t="$text_length" \
  'BEGIN { p = int(l * (1 - (r + 0.005) / 100)); n = p - 1 + 1024; if (n > t) n = t; if (n < 0) n = 0; printf "%d", n }')
minimum=$(head -c "$converted" "$work/texts/text.part" | iconv -c -f KOI8-R -t WINDOWS-1251 | wc -c)
size=$(stat -c %s "$output")
((size >= minimum)) || fail "after \"$caption\" the new file holds $size bytes, fewer than the $minimum converted"
echo "end by $way at \"$caption\": the new file holds $size bytes, all converted blocks"
