#!/bin/sh
# SPDX-License-Identifier: MIT
# The COMMANDS section of livrano-cli(1), as an include file for help2man: one sub-section for
# every command `livrano-cli help` lists, and for every tool a command's help lists, holding that
# command's `livrano-cli help` text in roff. The page is made of the words the program prints, so
# it cannot say other than help says.
#   man-commands.sh LIVRANO_CLI OUTPUT
set -eu

cli="$1"
out="$2"

# The names listed under a help text's headings of commands ("Commands:", "Tools:").
listed() {
    printf '%s\n' "$1" | awk '/^(Commands|Tools):$/ { on = 1; next } on && /^  [^ ]/ { print $1; next } { on = 0 }'
}

# One help text as roff. The first line is the command's summary, a paragraph of its own, and so
# is the usage line; headings ("Options:", "Exit status:") end in a colon; an entry is a
# line indented by two, its term parted from its description by two spaces or more; a line
# indented further goes on with the entry above; anything else is running text.
roff() {
    printf '%s\n' "$2" | awk -v title="$1" '
        function text(s) {
            gsub(/\\/, "\\e", s)
            gsub(/-/, "\\-", s)
            return s ~ /^[.'\'']/ ? "\\&" s : s
        }
        BEGIN { printf ".SS \"%s\"\n", text(title) }
        /^$/ { last = ""; next }
        NR == 1 { printf ".PP\n%s\n", text($0); next }
        /^Usage: / { printf ".PP\n\\fBUsage:\\fR %s\n", text(substr($0, 8)); last = "usage"; next }
        /^[A-Z][a-z ]*:$/ { printf ".PP\n\\fB%s\\fR\n", text($0); last = "heading"; next }
        /^  [^ ]/ {
            line = substr($0, 3)
            gap = match(line, /  +/)
            term = gap ? substr(line, 1, gap - 1) : line
            name = term; sub(/ .*/, "", name)
            printf ".TP\n\\fB%s\\fR%s\n", text(name), text(substr(term, length(name) + 1))
            if (gap)
                print text(substr(line, gap + RLENGTH))
            last = "entry"
            next
        }
        /^   / && last == "entry" { sub(/^ +/, ""); print text($0); next }
        {
            if (last != "text")
                print ".PP"
            sub(/^ +/, "")
            print text($0)
            last = "text"
        }'
}

# A command's sub-section, then its tools'.
section() {
    help="$("$cli" help "$@")"
    roff "livrano-cli $*" "$help"
    for tool in $(listed "$help"); do
        section "$@" "$tool"
    done
}

{
    echo "[COMMANDS]"
    for command in $(listed "$("$cli" help)"); do
        section "$command"
    done
} >"$out.new"
mv "$out.new" "$out"
