"""Reads the report in the preview as a screen reader does, over AT-SPI.

Starts the preview program given as the argument (inside a session bus and a display,
see test_report_atspi.sh), finds the element named "Auswertung" in it and checks that
it is a document whose text and paragraph children hold the report. Exit status 0 when
a screen reader can read the report, 1 when not.
"""
import os
import subprocess
import sys
import time

import pyatspi


def find(accessible, name, depth=0):
    if accessible is None or depth > 30:
        return None
    if accessible.name == name and accessible.getRole() == pyatspi.ROLE_DOCUMENT_FRAME:
        return accessible
    for index in range(accessible.childCount):
        found = find(accessible.getChildAtIndex(index), name, depth + 1)
        if found is not None:
            return found
    return None


def report_view(application_name):
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == application_name:
                view = find(application, "Auswertung")
                if view is not None:
                    return view
        time.sleep(0.2)
    return None


def main():
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1")
    preview = subprocess.Popen([sys.argv[1], "60"], env=environment)
    try:
        view = report_view("vorschau-test")
        if view is None:
            print("no element named 'Auswertung' with the role document on the bus")
            return 1
        text = view.queryText()
        whole = text.getText(0, -1)
        paragraphs = [view.getChildAtIndex(i) for i in range(view.childCount)]
        said = [p.queryText().getText(0, -1) for p in paragraphs]
        print("Auswertung: %d characters, %d paragraphs" % (len(whole), len(said)))
        for line in said[:3]:
            print("  " + line[:100])
        problems = []
        if len(said) < 5:
            problems.append("fewer than 5 paragraphs")
        if "\n".join(said) != whole:
            problems.append("the paragraphs do not make the text")
        if not any("Euro" in line for line in said):
            problems.append("no paragraph names an amount in Euro")
        if any(p.getRole() != pyatspi.ROLE_PARAGRAPH for p in paragraphs):
            problems.append("a child is not a paragraph")
        for problem in problems:
            print(problem)
        return 1 if problems else 0
    finally:
        preview.terminate()
        preview.wait(10)


if __name__ == "__main__":
    sys.exit(main())
