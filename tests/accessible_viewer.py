#!/usr/bin/python3
"""The viewer as a screen reader sees it, through AT-SPI alone.

Started by tests/accessible-program-on-x.sh inside a D-Bus session with the
accessibility bus running, on an application folder whose TEMPO.SPC names
chapter 14. Starts the viewer there, then reads and drives it as Orca would:
  - the window's name gives the screen; the four buttons are push buttons
    with French names, the hidden arrow neither shows nor has an action;
  - the page is a document: its text starts with the chapter's title, holds
    the screen's headings (as headings), lines and picture descriptions;
  - pressing "Écran suivant" through AT-SPI turns the page, renames the
    window and signals the change; the new screen's text is read;
  - the keyboard alone: arrow keys, Tab and Shift+Tab through the buttons
    that show, Space and Return pressing them, the focus handed on when the
    focused arrow hides, the print dialog opened and cancelled, and the
    close button ending the program.
usage: accessible_viewer.py APPLICATION_FOLDER WORK_FOLDER
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

app_dir, work = sys.argv[1], sys.argv[2]
log = open(f"{work}/viewer.log", "w")
viewer = subprocess.Popen(["./abrevel"], cwd=app_dir, stdout=log, stderr=subprocess.STDOUT)

TITLE = "14. Les messages de la lumière"
events = []


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    log.flush()
    with open(f"{work}/viewer.log") as f:
        output = f.read()
    if output:
        print("--- the viewer's output:\n" + output, file=sys.stderr)
    if viewer.poll() is None:
        viewer.kill()
    sys.exit(1)


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait(what, condition, timeout=15):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            value = condition()
        except Exception:  # an object gone while the tree changes: look again
            value = None
        if value:
            return value
        if viewer.poll() is not None:
            fail(f"{what}: the viewer ended (status {viewer.returncode})")
        pump(0.1)
    fail(f"{what}: not seen after {timeout} s")


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == viewer.pid:
            return app
    return None


def frame():
    app = application()
    if app is None:
        return None
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_FRAME:
            return node
    return None


def buttons():
    return {n.name: n for n in walk(frame()) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON}


def document():
    for node in walk(frame()):
        if node.getRole() == pyatspi.ROLE_DOCUMENT_FRAME:
            return node
    return None


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def states(node):
    return node.getState()


def showing(node):
    return states(node).contains(pyatspi.STATE_SHOWING)


def actions(node):
    try:
        a = node.queryAction()
    except NotImplementedError:
        return []
    return [a.getName(i) for i in range(a.nActions)]


def focused_button():
    for name, node in buttons().items():
        if states(node).contains(pyatspi.STATE_FOCUSED):
            return name
    return None


def screen_name(number):
    return f"{TITLE}, écran {number} sur 2"


def expect_screen(number, how):
    wait(f"{how}: the window named \"{screen_name(number)}\"",
         lambda: frame() is not None and frame().name == screen_name(number))
    print(f"ok: {how}: the window is named \"{screen_name(number)}\"")


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


def expect_focus(name, how):
    wait(f"{how}: the focus on \"{name}\"", lambda: focused_button() == name)
    print(f"ok: {how}: the focus is on \"{name}\"")


def read_page(number, heading, picture_words):
    """The document of a screen: the title, a heading, a picture described."""
    doc = wait(f"screen {number}: a document", document)
    text = wait(f"screen {number}: the document's text",
                lambda: heading in text_of(document()) and text_of(document()))
    if not text.startswith(TITLE):
        fail(f"screen {number}: the text does not start with the chapter's title: {text[:80]!r}")
    children = [doc.getChildAtIndex(i) for i in range(doc.childCount)]
    headings = [c.name for c in children if c.getRole() == pyatspi.ROLE_HEADING]
    if TITLE not in headings or heading not in headings:
        fail(f"screen {number}: headings {headings}, expected {TITLE!r} and {heading!r}")
    images = [c.name for c in children if c.getRole() == pyatspi.ROLE_IMAGE]
    if not images or any(not name or name == "Image" for name in images):
        fail(f"screen {number}: pictures without a description: {images}")
    if not any(picture_words in name for name in images):
        fail(f"screen {number}: no picture described with {picture_words!r}: {images}")
    for name in images:
        if name not in text:
            fail(f"screen {number}: the picture \"{name}\" is missing from the document's text")
    print(f"ok: screen {number}: {len(children)} items, headings {headings[1:]}, "
          f"{len(images)} pictures described")
    return text


def on_event(event):
    events.append(event.type)


pyatspi.Registry.registerEventListener(
    on_event, "object:property-change:accessible-name", "object:text-changed")

# ----- Screen 1401 as it opens ------------------------------------------------------
expect_screen(1, "at start")
found = wait("the four buttons", lambda: len(buttons()) >= 4 and buttons())
for name in ("Imprimer le chapitre", "Fermer", "Écran précédent", "Écran suivant"):
    if name not in found:
        fail(f"no push button named \"{name}\": {sorted(found)}")
if showing(found["Écran précédent"]) or actions(found["Écran précédent"]):
    fail("the hidden previous arrow shows or can be pressed")
for name in ("Imprimer le chapitre", "Fermer", "Écran suivant"):
    if not showing(found[name]) or "Press" not in actions(found[name]):
        fail(f"\"{name}\" does not show or cannot be pressed: {actions(found[name])}")
print("ok: four named push buttons; the hidden previous arrow neither shows nor acts")
first = read_page(1, "Spectres d'émission", "permanganate de potassium")

# ----- A page turn pressed through AT-SPI -------------------------------------------
events.clear()
found["Écran suivant"].queryAction().doAction(0)
expect_screen(2, "\"Écran suivant\" pressed")
second = wait("screen 2: the document's new text",
              lambda: text_of(document()) != first and text_of(document()))
pump(0.5)
if "object:property-change:accessible-name" not in events:
    fail(f"the page turn renamed the window without telling: events {sorted(set(events))}")
if not any(e.startswith("object:text-changed") for e in events):
    fail(f"the page turn changed the text without telling: events {sorted(set(events))}")
print("ok: the page turn was signalled (name and text changes)")
now = buttons()
if showing(now["Écran suivant"]) or actions(now["Écran suivant"]):
    fail("on the last screen the next arrow still shows or acts")
if not showing(now["Écran précédent"]):
    fail("on the last screen the previous arrow does not show")
read_page(2, "Signature d'un atome ou d'un ion : application à l'astrophysique",
          "Spectre d'émission de la vapeur de mercure")

# ----- The keyboard alone -----------------------------------------------------------
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Abrevel$"],
                        capture_output=True, text=True).stdout.split()
if not window:
    fail("no X window named Abrevel")
subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)
wait("the window given the keyboard: the focus on the page document",
     lambda: states(document()).contains(pyatspi.STATE_FOCUSED))
if focused_button() is not None:
    fail(f"the window given the keyboard: the focus is on \"{focused_button()}\", not on the page")
print("ok: the window given the keyboard: the focus is on the page document, no button")
key("Left")
expect_screen(1, "Left key")
for _ in range(6):
    if focused_button() == "Imprimer le chapitre":
        break
    key("Tab")
    pump(0.2)
expect_focus("Imprimer le chapitre", "Tab")
key("Tab")
expect_focus("Fermer", "Tab")
key("Tab")
expect_focus("Écran suivant", "Tab past the hidden previous arrow")
key("space")
expect_screen(2, "Space on \"Écran suivant\"")
expect_focus("Écran précédent", "the focused arrow hidden")
key("Right")
key("Return")
expect_screen(1, "Return on \"Écran précédent\"")
expect_focus("Écran suivant", "the focused arrow hidden")
key("shift+Tab")
expect_focus("Fermer", "Shift+Tab")
key("shift+Tab")
expect_focus("Imprimer le chapitre", "Shift+Tab")


def dialog():
    app = application()
    for i in range(app.childCount):
        node = app.getChildAtIndex(i)
        if node is not None and node.getRole() == pyatspi.ROLE_DIALOG and showing(node):
            return node
    return None


key("Return")
box = wait("Return on \"Imprimer le chapitre\": the print dialog", dialog, timeout=30)
print(f"ok: Return on \"Imprimer le chapitre\" opened the dialog \"{box.name}\"")
key("Escape")
wait("Escape: the print dialog gone", lambda: dialog() is None)
expect_focus("Imprimer le chapitre", "the dialog cancelled")
key("Tab")
expect_focus("Fermer", "Tab")
key("Return")
try:
    status = viewer.wait(timeout=15)
except subprocess.TimeoutExpired:
    fail("the viewer still runs 15 s after Return on \"Fermer\"")
if status != 0:
    fail(f"the viewer ended with status {status}")
print("ok: Return on \"Fermer\" ended the viewer with status 0")
