# hold NAME EXPECTED SEEN: "ok" and the name, or "FAIL" with both, setting failed to 1 and returning 1.
failed=0
hold() { if [ "$2" = "$3" ]; then echo "ok    $1"; else printf 'FAIL  %s\n      expected: %q\n      seen:     %q\n' "$1" "$2" "$3"; failed=1; return 1; fi; }
