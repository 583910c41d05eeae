#!/usr/bin/env python3
"""The command line's JSON, parsed back: `identify --json`, `inspect --json`
and `merge --json` (a dry run, then for real) over a sample of every version,
files of no version (empty, odd lengths, random bytes) under awkward names, a
missing file and a folder.

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

        status, dry = run(cli, "merge", "--json", "--dry-run", "--to", "6.04", str(folder), missing)
        check(status == 3 and sorted(os.listdir(folder)) == before, f"dry run: status {status}, nothing written")
        status, merged = run(cli, "merge", "--json", "--to", "6.04", str(folder), missing)
        check(status == 3 and len(dry) == len(merged) == len(identify), f"merge: status {status}, an object per file")
        change_keys = {"field", "offset", "kind", "from", "to", "isDefault"}
        for would, done in zip(dry, merged):
            check(would["source"] == done["source"] and would["changes"] == done["changes"],
                  f"a dry run tells what the run does: {done['source']}")
            check((would["outcome"], done["outcome"]) in {("wouldWrite", "written"), ("sameVersion",) * 2,
                                                          ("unknownLength",) * 2, ("openFailed",) * 2},
                  f"outcomes of {done['source']}: {would['outcome']}, {done['outcome']}")
            check(done["targetVersion"] == "Version 6.04", "target version")
            written = done["outcome"] == "written"
            check(written == (done["output"] is not None) and (not written or os.path.getsize(done["output"]) == 1472),
                  f"output of {done['source']}")
            check(written or done["changes"] == [], f"changes only for a written file: {done['source']}")
            for change in done["changes"]:
                check(set(change) == change_keys and change["kind"] in ("dropped", "changed", "filled")
                      and isinstance(change["isDefault"], bool), f"change {change}")
        by_name = {os.path.basename(entry["source"]): entry for entry in merged}
        check(by_name["missing.dat"]["message"] == f"File could not be opened \n{missing} was not found.",
              "a failure's message")
        check(by_name["engraver-6.04.dat"]["outcome"] == "sameVersion", "same version passed over")
        sample = by_name["engraver-8.02.dat"]
        own = [(c["field"], c["kind"], c["from"], c["to"]) for c in sample["changes"] if not c["isDefault"]]
        check(own == [("value at 788", "changed", 1, 0), ("value at 848", "changed", 4, 1),
                      ("value at 852", "changed", 7, 0),
                      ("entry 1, value at 8", "dropped", 1200, None), ("entry 2, value at 8", "dropped", 1200, None),
                      ("entry 3, value at 8", "dropped", 1200, None), ("value at 1852", "dropped", 3, None)],
              f"8.02 into 6.04: {own}")
        check({"field": "jobs path", "offset": 2376, "kind": "dropped", "from": "trevak\\jobs", "to": None,
               "isDefault": True} in sample["changes"], "the default jobs path dropped")
    print(f"identify: {len(identify)} objects, inspect: {len(inspect)} objects, merge: {len(merged)} objects, "
          "all parsed")


if __name__ == "__main__":
    main()
