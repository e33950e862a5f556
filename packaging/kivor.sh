#!/bin/sh
# Starts Kivor in the user's own program folder.
#
# The program keeps its working data in its program folder (the pupils'
# records in data/students.mdb, the scratch database beside it), so an
# installed copy cannot run in the read-only folder the package brings. Each
# user gets a copy of that folder, made at the first start and brought up to
# date whenever the package brings other banks, pictures or help pages; the
# pupils' records and the scratch files are never replaced.
#
# Everything is found relative to this script, so an unpacked package runs
# from wherever it was unpacked.
set -u

self=$(readlink -f -- "$0" 2>/dev/null) || self=$0
prefix=$(dirname -- "$(dirname -- "$self")")
libdir=$prefix/lib/kivor
template=$prefix/share/kivor

# Answered by the program itself, before any folder is made or touched.
case ${1:-} in
--help | -h | --version) exec "$libdir/kivor" "$1" ;;
esac

# XDG base directories: a relative or empty XDG_DATA_HOME is to be ignored.
case ${XDG_DATA_HOME:-} in
/*) data_home=$XDG_DATA_HOME ;;
*) data_home=${HOME:-}/.local/share ;;
esac
folder=$data_home/kivor

# Said on the terminal, and in a box when there is a screen to show one on:
# started from a menu, the terminal is nowhere to be seen. The box is the
# program's own, so the package needs nothing else to show it.
fail() {
    text="Kivor не може да подготви папката си $folder: $1
Там се пазят резултатите на учениците. Проверете дали папката може да се създаде и да се пише в нея, или задайте друго място с XDG_DATA_HOME."
    printf 'kivor: %s\n' "$text" >&2
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        "$libdir/kivor" --message "$text" >&2
    fi
    exit 1
}

[ -n "${HOME:-}" ] || [ -n "${XDG_DATA_HOME:-}" ] || fail "HOME не е зададена"
err=$(mkdir -p -- "$folder/data" 2>&1) || fail "$err"
if [ ! -w "$folder" ] || [ ! -w "$folder/data" ]; then
    fail "няма права за писане"
fi

# The pupils' records may be a link to a share. A link whose target is not
# there (the share not mounted) is never replaced: the records would go to a
# new empty file here from then on, unseen by the school.
pupils=$folder/data/students.mdb
if [ -L "$pupils" ] && [ ! -e "$pupils" ]; then
    fail "файлът с резултатите на учениците $pupils сочи към $(readlink -- "$pupils"), а там няма файл. Свържете споделената папка или диска с резултатите и стартирайте отново"
fi

# The stamp lists every file of the template with its checksum: a folder whose
# stamp differs was made from another template. The stamp is copied last, so
# an update cut short is done again at the next start. A file lost from the
# folder since (deleted by hand, a disk check) is brought back as well: the
# program refuses to start without its files.
update=0
if cmp -s -- "$template/stamp" "$folder/stamp"; then
    while read -r _ file; do
        case ${file#./} in
        data/temp.mdb | '') ;;
        *) [ -e "$folder/${file#./}" ] || { update=1; break; } ;;
        esac
    done <"$folder/stamp"
else
    update=1
fi
if [ $update = 1 ]; then
    files=$(cd -- "$template" && find . -type f ! -path ./stamp) || fail "няма шаблон в $template"
    while IFS= read -r file; do
        file=${file#./}
        [ -n "$file" ] || continue
        target=$folder/$file
        case $file in
        # The pupils' records: made once, kept ever after.
        data/students.mdb) [ -e "$target" ] && continue ;;
        # The scratch database is the program's own; it copies it from ctemp.mdb.
        data/temp.mdb) continue ;;
        esac
        # Copied beside the old file and renamed over it: a program that has
        # the old one open keeps reading it whole.
        err=$({ mkdir -p -- "$(dirname -- "$target")" &&
            cp -- "$template/$file" "$target.new$$" &&
            mv -f -- "$target.new$$" "$target"; } 2>&1) || {
            rm -f -- "$target.new$$"
            fail "$err"
        }
    done <<EOF
$files
EOF
    err=$(cp -- "$template/stamp" "$folder/stamp" 2>&1) || fail "$err"
fi

# The program checks that the help program is in its folder and starts it from
# there; a link keeps the one from the package, whichever version that is.
err=$(ln -sfn -- "$libdir/help.exe" "$folder/help.exe" 2>&1) || fail "$err"

cd -- "$folder" || fail "папката не може да се отвори"
exec "$libdir/kivor" "$@"
