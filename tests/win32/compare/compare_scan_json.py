"""Compares two `vedozer scan --json` results apart from times, the system's own description and the
paths that differ by system."""
import json
import re
import sys

PROFILE = re.compile(r"c:\\users\\[^\\]+", re.IGNORECASE)


def normalise(value):
    if isinstance(value, dict):
        return {k: normalise(v) for k, v in value.items() if k not in ("scan", "target", "program", "warnings")}
    if isinstance(value, list):
        return [normalise(v) for v in value]
    if isinstance(value, str):
        # Windows paths ignore case; the user's profile folder has another name on each side.
        return PROFILE.sub(r"c:\\users\\<profile>", value).lower() if "\\" in value else value
    return value


def main():
    image_path, win_path, image_rc, win_rc = sys.argv[1:5]
    with open(image_path, encoding="utf-8") as f:
        image = normalise(json.load(f))
    with open(win_path, encoding="utf-8") as f:
        win = normalise(json.load(f))
    failed = 0
    if image_rc != win_rc:
        print(f"exit codes differ: image {image_rc}, win32 {win_rc}")
        failed += 1
    if not image.get("threats"):
        print("the image scan found nothing: the comparison would prove nothing")
        failed += 1
    for key in sorted(set(image) | set(win)):
        if image.get(key) != win.get(key):
            failed += 1
            print(f"{key} differs:\n  image: {json.dumps(image.get(key))}\n  win32: {json.dumps(win.get(key))}")
    found = sum(len(t.get("detections", [])) for t in image.get("threats", []))
    print(f"backend comparison: {found} detections compared, {'same' if not failed else 'DIFFERENT'}")
    print(f"{1 if not failed else 0} passed, {1 if failed else 0} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
