#!/bin/sh
# The package as a Debian archive and a desktop would check it: no lintian
# error, a valid desktop entry and a valid AppStream description.
#
#   lint.sh <folder holding the .deb>
set -u
deb=$(ls "$1"/*.deb) || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
lintian --fail-on error --tag-display-limit 0 "$deb" || status=1
dpkg-deb -x "$deb" "$work" || exit 1
desktop-file-validate "$work"/usr/share/applications/*.desktop || status=1
appstreamcli validate-tree --no-net "$work" || status=1
exit $status
