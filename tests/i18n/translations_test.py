"""Fails while a translation misses a text of the program, leaves one unfinished or keeps one the
program no longer has, or while a translated text drops a place (%1, %n) or the mnemonic (&) of
its English text. Arguments: lupdate, the source folder, then the .ts files."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACE = re.compile(r"%(?:\d|n)")
MNEMONIC = re.compile(r"&[^&\s]")


def problems(lupdate, sources, ts_file):
    with tempfile.TemporaryDirectory() as folder:
        fresh = os.path.join(folder, os.path.basename(ts_file))
        shutil.copy(ts_file, fresh)
        # As update_translations runs it, but keeping what vanished, to name it.
        subprocess.run([lupdate, "-silent", "-locations", "none", "-tr-function-alias",
                        "QT_TRANSLATE_NOOP+=PESTERLY_TEXT", sources, "-ts", fresh], check=True)
        root = ET.parse(fresh).getroot()
    for context in root.iter("context"):
        for message in context.iter("message"):
            source = message.findtext("source")
            where = f"{os.path.basename(ts_file)}, {context.findtext('name')}: {source!r}"
            translation = message.find("translation")
            if translation.get("type"):
                yield f"{where} is {translation.get('type')}"
                continue
            forms = [form.text or "" for form in translation.iter("numerusform")] \
                if message.get("numerus") == "yes" else [translation.text or ""]
            for form in forms:
                if not form.strip() or sorted(set(PLACE.findall(form))) != sorted(
                        set(PLACE.findall(source))):
                    yield f"{where} has other places: {form!r}"
                if bool(MNEMONIC.search(source)) != bool(MNEMONIC.search(form)):
                    yield f"{where} has no mnemonic, or one too many: {form!r}"


if __name__ == "__main__":
    found = [p for ts in sys.argv[3:] for p in problems(sys.argv[1], sys.argv[2], ts)]
    print("\n".join(found) or "every text is translated")
    sys.exit(1 if found else 0)
