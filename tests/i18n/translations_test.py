# Fails while a translation misses a text of the program, leaves one unfinished or keeps one the
# program no longer has, or while a translated text drops a place (%1, %n) or the mnemonic (&)
# of its English text. Arguments: lupdate, the source folder, then the .ts files.

import os, re, shutil, subprocess, sys, tempfile, xml.etree.ElementTree as ET

lupdate, sources, *ts_files = sys.argv[1:]
marks = lambda text: (sorted(set(re.findall(r"%(?:\d|n)", text))),  # places, and a mnemonic
                      bool(re.search(r"&[^&\s]", text)))
found = []
for ts_file in ts_files:
    with tempfile.TemporaryDirectory() as folder:  # as update_translations runs it, vanished kept
        fresh = shutil.copy(ts_file, folder)
        subprocess.run([lupdate, "-silent", "-locations", "none", "-tr-function-alias",
                        "QT_TRANSLATE_NOOP+=PESTERLY_TEXT", sources, "-ts", fresh], check=True)
        root = ET.parse(fresh).getroot()
    for context in root.iter("context"):
        for message in context.iter("message"):
            source, translation = message.findtext("source"), message.find("translation")
            where = f"{os.path.basename(ts_file)}, {context.findtext('name')}: {source!r}"
            forms = [f.text or "" for f in translation.iter("numerusform")] or [
                translation.text or ""]
            found += [f"{where} is {translation.get('type')}"] if translation.get("type") else [
                f"{where} has other places or mnemonic: {form!r}" for form in forms
                      if not form.strip() or marks(form) != marks(source)]
print("\n".join(found) or "every text is translated")
sys.exit(1 if found else 0)
