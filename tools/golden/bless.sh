#!/usr/bin/env bash
# Re-records the stored traces after a deliberate change of behaviour. Review the diff before
# committing it:   tools/golden/bless.sh [NAME ...]    (default: every tests/golden/*.keys)
# Uses build/vorne and build/data. A keys file with window lines stores NAME.jsonl and NAME.digests.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
if [ $# -eq 0 ]; then
    set -- tests/golden/*.keys
else
    set -- $(for n in "$@"; do echo "tests/golden/$n.keys"; done)
fi
for keys in "$@"; do
    tests/golden/run_golden.sh "$root/build/vorne" "$root/build/data" "$keys" --bless
done
git --no-pager diff --stat -- tests/golden
