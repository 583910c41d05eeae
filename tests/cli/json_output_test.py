#!/usr/bin/env python3
"""The command line's JSON, parsed back: `identify --json` and `inspect --json`
over a sample of every version, files of no version (empty, odd lengths,
random bytes) under awkward names, a missing file and a folder.

    json_output_test.py CLI MAKE_SAMPLES
"""
import json
import os
import pathlib
import random
import subprocess
import sys
import tempfile

LABELS = {
    1472: "Version 6.04", 1480: "Version 7.00 - 7.04", 1852: "Version 7.05",
    1856: "Version 7.07", 2888: "Version 8.00", 2892: "Version 8.02",
}


def run(cli, *args):
    done = subprocess.run([cli, *args], capture_output=True, check=False)
    try:
        return done.returncode, json.loads(done.stdout.decode("utf-8"))
    except (UnicodeDecodeError, json.JSONDecodeError) as error:
        sys.exit(f"{args}: not valid JSON ({error}):\n{done.stdout!r}")


def check(condition, what):
    if not condition:
        sys.exit(f"FAILED: {what}")


def main():
    cli, make_samples = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as temp:
        folder = pathlib.Path(temp)
        subprocess.run([sys.executable, make_samples, str(folder)], check=True, capture_output=True)
        rng = random.Random(7)
        odd = {"empty.dat": b"", "odd\x1b[1m.dat": rng.randbytes(1473), "caf\u00e9 \"q\".dat": rng.randbytes(219)}
        for name, data in odd.items():
            (folder / name).write_bytes(data)
        # Random bytes of a version's length are that version: text slots
        # without terminators, surrogates broken anywhere.
        (folder / "noise.dat").write_bytes(rng.randbytes(2892))
        # A name that is not UTF-8.
        (folder / b"bad\xff.dat".decode("utf-8", "surrogateescape")).write_bytes(b"x")
        before = sorted(os.listdir(folder))
        missing = str(folder / "missing.dat")

        status, identify = run(cli, "identify", "--json", str(folder), missing)
        check(status == 3, f"identify exit status {status}")
        by_path = {entry["path"]: entry for entry in identify}
        for entry in identify[:-1]:
            if "error" not in entry:
                check(entry["version"] == LABELS.get(entry["length"]), f"identify version of {entry}")
        check(by_path[missing]["error"] == f"{missing} was not found.", "missing file's error")
        check(len(identify) == 1 + len([p for p in os.listdir(folder) if p.lower().endswith(".dat")]),
              "one object per file")

        status, inspect = run(cli, "inspect", "--json", str(folder))
        check(status == 0, f"inspect exit status {status}")
        samples = [entry for entry in inspect if os.path.basename(entry["path"]).startswith("engraver-")]
        check(len(samples) == 6, "six samples inspected")
        for entry in samples:
            check(entry["version"] == LABELS[entry["length"]], f"sample version {entry['path']}")
            check(entry["deviceName"] == {"text": "Fictional Laser Engraver", "terminated": True}, "device name")
            check(entry["dmDriverExtra"] == entry["length"] - 220 and entry["dmDriverExtraAgrees"], "dmDriverExtra")
            check(entry["dmSpecVersion"] == 0x0401 and entry["dmSize"] == 220, "header members")
            check(entry["entryCount"] == 3 and not entry["entryCountExceedsTable"], "entry count")
            slots = [slot["value"]["text"] for slot in entry["textSlots"]]
            expected = ["C:\\Users\\engraver\\Documents\\plates\\nameplate.svg", "Walnut veneer, two passes"]
            if entry["length"] >= 2888:
                expected += ["trevak\\engraving_setting", "trevak\\jobs"]
            check(slots == expected, f"text slots of {entry['path']}: {slots}")
        noise = next(entry for entry in inspect if entry["path"].endswith("noise.dat"))
        check(noise["version"] == "Version 8.02" and len(noise["textSlots"]) == 4, "noise inspected as 8.02")
        for entry in inspect:
            if entry["version"] is None:
                check("deviceName" not in entry, f"no header shown for {entry['path']}")
        check(sorted(os.listdir(folder)) == before, "nothing written")
    print(f"identify: {len(identify)} objects, inspect: {len(inspect)} objects, all parsed")


if __name__ == "__main__":
    main()
