# hold NAME EXPECTED SEEN: "ok" and the name, or "FAIL" with what was expected and seen, which sets failed to 1.
failed=0
hold() { if [ "$2" = "$3" ]; then echo "ok    $1"; else printf 'FAIL  %s\n      expected: %q\n      seen:     %q\n' "$1" "$2" "$3"; failed=1; fi; }
