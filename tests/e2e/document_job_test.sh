#!/usr/bin/env bash
# A word document converted through the real dialogs: chosen in the open-file dialog, the proposed
# name (with the document's own extension) accepted, and the new document read back by python-docx.
#   document_job_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/file_job_steps.sh"

mkdir -p "$work/texts"
/usr/bin/python3 - "$work/texts/letter.docx" <<'PY'
import sys, docx
document = docx.Document()
paragraph = document.add_paragraph()
paragraph.add_run('Hello ').font.name = 'Arial'
paragraph.add_run(bytes([0xF0, 0xD2, 0xC9, 0xD7, 0xC5, 0xD4]).decode('cp1252')).font.name = 'KOI8-R'
document.save(sys.argv[1])
PY

start_program_with_fonts "$program"
choose_source "$work/texts/letter.docx"
start_job
done_box=$(wait_for_window "Varnex") || fail "no completion message"
press_keys "$done_box" Return
window=$(wait_for_window "Varnex 2010") || fail "the caption did not come back"

read_back=$(/usr/bin/python3 -c '
import sys, docx
for run in docx.Document(sys.argv[1]).paragraphs[0].runs:
    print(run.font.name, run.text.encode("cp1252").hex())' "$work/texts/letter_Windows-1251.docx") ||
  fail "no readable letter_Windows-1251.docx: $(ls "$work/texts")"
[[ $read_back == $'Arial 48656c6c6f20\nWindows-1251 cff0e8e2e5f2' ]] || fail "the new document holds: $read_back"

press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "document job: letter.docx converted into letter_Windows-1251.docx"
