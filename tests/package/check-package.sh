#!/usr/bin/env bash
# Makes the Debian package and checks it: its files, its desktop entry, and that the program
# unpacked into a scratch root starts from there with its window description and keeps its log
# in the scratch user's state folder. Usage: check-package.sh <source folder>
set -euo pipefail
source_dir=$1

deb=$("$source_dir/scripts/package" | tail -n 1)
[[ -f $deb ]] || { echo "no package: $deb"; exit 1; }
[[ $(basename "$deb") =~ ^kramo_[0-9]+\.[0-9]+\.[0-9]+_amd64\.deb$ ]] ||
  { echo "unexpected package name $deb"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/kramo ./usr/share/kramo/kramo.glade ./usr/share/kramo/sql/kramo-schema.sql \
  ./usr/share/applications/kramo.desktop ./usr/share/icons/hicolor/scalable/apps/kramo.svg \
  ./usr/share/locale/cs/LC_MESSAGES/kramo.mo ./usr/share/locale/en/LC_MESSAGES/kramo.mo; do
  grep -q " $file\$" <<<"$contents" || { echo "missing in the package: $file"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libgtkmm-2.4' <<<"$depends" || { echo "run-time dependencies missing: $depends"; exit 1; }

dpkg -x "$deb" "$scratch/root"
desktop-file-validate "$scratch/root/usr/share/applications/kramo.desktop"

# A moment of the program, as a new user of the computer; it ends when the time is up.
mkdir -p "$scratch/home"
(cd "$scratch" && env -u XDG_CONFIG_HOME -u XDG_STATE_HOME -u XDG_DOCUMENTS_DIR \
  HOME="$scratch/home" xvfb-run --auto-servernum timeout 5 "$scratch/root/usr/bin/kramo") || true

log="$scratch/home/.local/state/kramo/kramo-log.txt"
[[ -f $log ]] || { echo "no log in the state folder"; ls -R "$scratch/home"; exit 1; }
grep -q 'Gtk::Main::run()' "$log" || { echo "the windows were not built:"; cat "$log"; exit 1; }
[[ -d $scratch/home/Documents/Kramo/data ]] || { echo "no data folder in the bazaar folder"; exit 1; }
[[ ! -e $scratch/kramo-log.txt && ! -e $scratch/root/usr/bin/kramo.xml ]] ||
  { echo "files written beside the program or in the working folder"; exit 1; }
echo "package $(basename "$deb") checked"
