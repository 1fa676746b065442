#!/usr/bin/env bash
# libmagic_oracle.sh <magic file> <file>...
# Second opinion for the magic-table differential test: runs the `file`
# command (libmagic) with only the given magic file, every built-in test
# off, every matching rule reported (-k), unprintable bytes left as they are
# (-r), and "|" between each file name and its answer. A file that no rule
# names is answered "data"; further matches follow on lines starting "- ".
set -eu
magic=$1
shift
exec file -k -r -F '|' -m "$magic" \
  -e apptype -e ascii -e cdf -e compress -e csv -e elf -e encoding -e json -e tar \
  -e text -e tokens -- "$@"
