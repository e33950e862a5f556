#!/bin/sh
# The launcher of the unpacked package, run as a user runs it: the first start
# makes the user's program folder, a later start reuses it, an upgrade that
# brings another bank updates the banks and keeps the pupils' records and the
# scratch file, and a folder that cannot be made is reported.
#
#   launcher.sh <folder holding the .deb> <content folder of the sources>
set -u
debs=$1
content=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

faults=0
fault() {
    echo "FAULT: $*" >&2
    faults=$((faults + 1))
}

# A home of the test's own. Probed, the program prints where its main window
# came up and every message it would have shown, and ends.
export HOME="$work/home"
export XDG_DATA_HOME="$HOME/data" XDG_CONFIG_HOME="$HOME/config" XDG_CACHE_HOME="$HOME/cache"
export QT_QPA_PLATFORM=offscreen KIVOR_PROBE_START=1
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"
folder=$XDG_DATA_HOME/kivor

# The launcher of the package unpacked at $1 must bring the program up in the
# user's folder without a message on the way.
start() {
    if ! out=$(timeout 120 "$1/usr/bin/kivor" 2>&1); then
        printf '%s\n' "$out"
        fault "the launcher of $1 failed"
        return
    fi
    if ! printf '%s\n' "$out" | grep -qxF "kivor: main window in $folder" ||
        printf '%s\n' "$out" | grep -q "^kivor: message:"; then
        printf '%s\n' "$out"
        fault "the program did not come up cleanly in $folder"
    fi
}

# Every file of the template at $1, its stamp too, is in the user's folder as
# it is there, the pupils' records and the scratch file aside.
same_as_template() {
    for file in $(cd "$1" && find . -type f ! -path ./data/students.mdb ! -path ./data/temp.mdb); do
        cmp -s "$1/$file" "$folder/$file" || fault "$file differs from $1"
    done
}

# The pupils' database is written as the program writes it: SQLCipher with the
# store's password (store/connstr.cpp).
pupils() {
    printf "PRAGMA key='60x2dal3p90yvm8pec60';\n%s\n" "$1" | sqlcipher -batch "$folder/data/students.mdb"
}

# First start: the folder is made from the template.
root1=$work/root1
dpkg-deb -x "$debs"/*.deb "$root1" || exit 1
template1=$root1/usr/share/kivor
[ ! -e "$template1/data/temp.mdb" ] || fault "the package ships a scratch file"
start "$root1"
same_as_template "$template1"
[ "$(readlink -f "$folder/help.exe")" = "$root1/usr/lib/kivor/help.exe" ] ||
    fault "help.exe is not the package's"

# A pupil's record and a scratch file in use.
pupils "insert into student (Name, NumOfClass, Val, Object, DT, Theme, Class, Division)
        values ('Мария Иванова', 12, 'Отличен 6', 'математика', '2026-12-07', 'дроби', 'V', 2);" ||
    fault "no record could be written"
cp "$folder/data/students.mdb" "$work/students.mdb"
echo "in use" >"$folder/data/temp.mdb"

# Second start: nothing is copied again.
before=$(stat -c %i "$folder/data/topics.mdb")
start "$root1"
[ "$(stat -c %i "$folder/data/topics.mdb")" = "$before" ] || fault "a second start copied the banks again"

# A data file lost with the stamp unchanged is brought back.
rm "$folder/data/class5.mdb"
start "$root1"
cmp -s "$template1/data/class5.mdb" "$folder/data/class5.mdb" || fault "a lost bank was not brought back"

# A link to records on a share that is not there is reported, never replaced.
mv "$folder/data/students.mdb" "$work/kept.mdb"
ln -s "$work/share/students.mdb" "$folder/data/students.mdb"
out=$(timeout 120 "$root1/usr/bin/kivor" 2>&1)
[ $? = 1 ] && [ -L "$folder/data/students.mdb" ] && printf '%s\n' "$out" | grep -q "$work/share" ||
    fault "a dangling link to the records: $out"
rm "$folder/data/students.mdb"
mv "$work/kept.mdb" "$folder/data/students.mdb"

# --help and --version are answered without a display and without a folder.
for opt in --help --version; do
    out=$(env -u QT_QPA_PLATFORM HOME="$work/none" XDG_DATA_HOME= timeout 60 \
        "$root1/usr/bin/kivor" $opt 2>&1) && [ ! -e "$work/none" ] &&
        printf '%s\n' "$out" | grep -qi "kivor" || fault "kivor $opt: $out"
done

# A second program on a folder in use refuses; once the first has crashed,
# the next start takes the folder over.
env -u KIVOR_PROBE_START "$root1/usr/bin/kivor" >/dev/null 2>&1 &
first=$!
for _ in $(seq 100); do [ -e "$folder/data/kivor.lock" ] && break; sleep 0.1; done
out=$(timeout 120 "$root1/usr/bin/kivor" 2>&1)
[ $? = 1 ] && printf '%s\n' "$out" | grep -q "^kivor: message: Kivor вече работи с папката" ||
    fault "a second program in one folder: $out"
kill -9 $first
wait $first
start "$root1"

# An upgrade: another package whose class 5 bank has a question changed, made
# by its own kivor-bank. Its template also holds a scratch file, which must not
# reach the user.
root2=$work/root2
template2=$root2/usr/share/kivor
cp -a "$root1" "$root2"
cp -R "$content" "$work/content"
sed -i 's/Коя от дробите е най-голяма?/Коя от дробите е най-голямата?/' \
    "$work/content/banks/class5-matematika.yaml"
"$root2/usr/bin/kivor-bank" "$work/content" "$work/banks" >/dev/null || fault "kivor-bank failed"
cp "$work/banks/data/class5.mdb" "$work/banks/data/temp.mdb" "$template2/data/"
cmp -s "$template1/data/class5.mdb" "$template2/data/class5.mdb" && fault "the bank did not change"
(cd "$template2" && find . -type f ! -path ./stamp | sort | xargs sha256sum) >"$template2/stamp"
start "$root2"
same_as_template "$template2"
[ "$(readlink -f "$folder/help.exe")" = "$root2/usr/lib/kivor/help.exe" ] ||
    fault "help.exe is not the upgraded package's"
cmp -s "$work/students.mdb" "$folder/data/students.mdb" || fault "the pupils' records were touched"
pupils "select Name from student;" | grep -qx "Мария Иванова" || fault "the pupil's record is gone"
[ "$(cat "$folder/data/temp.mdb")" = "in use" ] || fault "the scratch file was replaced"

# A folder that cannot be made: said on the terminal and, with a screen, in
# the program's box (printed here, the program being probed).
: >"$work/file"
out=$(XDG_DATA_HOME="$work/file" DISPLAY=:99 timeout 120 "$root1/usr/bin/kivor" 2>&1)
rc=$?
[ $rc = 1 ] || fault "a folder that cannot be made gave exit status $rc"
for line in "kivor: Kivor не може да подготви папката си $work/file/kivor:" \
    "kivor: message: Kivor не може да подготви папката си $work/file/kivor:"; do
    printf '%s\n' "$out" | grep -qF "$line" || {
        printf '%s\n' "$out"
        fault "missing: $line"
    }
done

[ $faults = 0 ] || exit 1
echo "launcher: all checks passed"
