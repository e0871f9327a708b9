#!/usr/bin/python3
"""Renders the gallery in docs/images/: each dialog as the user sees it under Wine.

    screenshots.py --state DIR --dpi-state DIR [--out DIR] [--check]

Both state directories are running sessions of scripts/wine_harness.py, the second one started
with --dpi 144; scripts/screenshots.sh starts and stops them. Every dialog is ended by a button
click, as a user would end it, and its reply is checked, so a broken dialog fails the run instead
of leaving a misleading picture.

With --check the pictures are rendered into a scratch directory instead and compared with those
in --out pixel by pixel; the run fails when any differs, is missing or is new. Countdowns and
deadlines differ from run to run: the lines that show them are left out of the comparison.
"""

import argparse
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
import capture  # noqa: E402
from capture import zemtest  # noqa: E402
from run_example import load_example, with_wine_translation_path  # noqa: E402

IDS = zemtest.IDS
# The countdown ticks once a second; a picture taken this long after the dialog shows has every
# control painted.
SETTLE_S = 1.0
# The controls whose text follows the clock: masked when pictures are compared.
CLOCK_CONTROLS = (IDS["IDC_COUNTDOWN"], IDS["IDC_DEADLINE"])

SECURITY_UPDATES = ("The computer restarts to finish installing:\n"
                    "- Security update for the file system driver\n"
                    "- Cumulative update for the desktop runtime")


def example(name):
    return load_example(ROOT / "examples" / name)


def restart_prompt(title, message, remind=True, **options):
    return zemtest.ActionUi(title, message, "Restart Now", cancel=True,
                            remind_seconds=1800 if remind else None,
                            max_remind_seconds=14400 if remind else None, **options)


class Gallery:
    def __init__(self, out):
        self.out = out
        self.driver = zemtest.Driver()
        # Per picture name: the rectangles, in the picture, of the controls that follow the clock.
        self.masks = {}

    def shot(self, request, title, name, end_button, reply_prefix, before=None):
        """Shows the request, runs before(gallery, title), saves the dialog as NAME.png (unless
        name is None) and ends it with end_button."""
        with zemtest.start_product(request) as run:
            zemtest.wait_until(lambda: self.driver.exists(capture.caption_bytes(title))
                               or not run.running(), timeout=60, what=f"the dialog {title}")
            if not run.running():
                raise RuntimeError(f"{title}: no dialog, the reply was {run.output!r}")
            time.sleep(SETTLE_S)
            if before:
                before(self, title)
            if name:
                self.save(title, name)
            self.driver.click(capture.caption_bytes(title), IDS[end_button])
            output, status, _ = run.reply()
            if status != 0 or not output.startswith(reply_prefix):
                raise RuntimeError(f"{title}: unexpected reply {output!r}, status {status}")

    def save(self, title, name, owner_class=None):
        path = self.out / f"{name}.png"
        width, height = capture.capture(title, path, owner_class, self.driver)
        self.masks[name] = self.clock_rectangles(title, owner_class)
        print(f"{path.name}: {width} x {height}")

    def clock_rectangles(self, title, owner_class):
        dump = self.driver.dump(capture.caption_bytes(title), owner_class)
        left, top = dump["rect"]["left"], dump["rect"]["top"]
        return [(c["rect"]["left"] - left, c["rect"]["top"] - top,
                 c["rect"]["right"] - left, c["rect"]["bottom"] - top)
                for c in dump["controls"] if c["id"] in CLOCK_CONTROLS and c["visible"]]

    # Steps run on an open dialog before its last picture.

    def more_info(self, title):
        self.driver.click(title, IDS["IDC_MORE_INFO_BUTTON"])
        time.sleep(SETTLE_S)

    def fold_and_unfold(self, title):
        self.save(title, "reminder-folded")
        self.more_info(title)

    def open_preview(self, title, name="preview", preview_title=None):
        """The preview is captioned with its action's title: the dialog's own in the pre-action
        dialog, the action's ACTIONITEMTITLE in the reminder."""
        preview_title = preview_title or title
        # The preview runs a nested message loop, so the click is answered only when it closes.
        self.driver.click(title, IDS["IDC_PREVIEW_BUTTON"], timeout=0.5)
        zemtest.wait_until(lambda: self.driver.exists(preview_title) and any(
            c["id"] == IDS["IDC_PREVIEW_TEXT"] for c in self.driver.dump(preview_title)["controls"]),
            timeout=30, what="the preview")
        time.sleep(SETTLE_S)
        self.save(preview_title, name)  # the preview is the first window with the caption
        self.driver.close(preview_title)
        zemtest.wait_until(lambda: any(c["id"] == IDS["IDC_PREVIEW_BUTTON"]
                                       for c in self.driver.dump(title)["controls"]),
                           timeout=30, what="the dialog after the preview")


def registry(session, *args):
    subprocess.run([zemtest.wine_binary(), "reg", *args], env=session.env(),
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)


def dialog_font(session, family):
    """Windows in a language of another script shows the dialogs' "MS Sans Serif" in a UI font of
    that script; under a Western code page Wine would draw empty boxes, so a picture in such a
    language borrows that mapping: to FAMILY, or none again when FAMILY is None."""
    key = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes"
    registry(session, *(["add", key, "/v", "MS Sans Serif", "/d", family, "/f"] if family else
                        ["delete", key, "/v", "MS Sans Serif", "/f"]))


def steady_caret(session):
    """A caret that does not blink: a picture shows it whenever it was taken."""
    registry(session, "add", r"HKCU\Control Panel\Desktop", "/v", "CursorBlinkRate", "/d", "-1",
             "/f")


def render(state, dpi_state, out):
    out.mkdir(parents=True, exist_ok=True)
    capture.use_session(state)
    steady_caret(zemtest.session())
    gallery = Gallery(out)

    gallery.shot(example("progress.txt"), "Installing security update", "progress",
                 "IDC_HIDE_BUTTON", b"OK")
    gallery.shot(restart_prompt(
        "Restart required",
        "Security updates were installed that need a restart.\n"
        "Save your work and restart now, or choose when to be reminded.",
        auto_seconds=900, auto_message="Your computer will restart automatically."),
        "Restart required", "preaction-countdown", "IDC_REMIND_BUTTON", b"REMIND:")
    gallery.shot(example("remind.txt"), "Pending maintenance", "reminder-unfolded",
                 "IDC_REMIND_BUTTON", b"REMIND:", before=Gallery.fold_and_unfold)
    gallery.shot(restart_prompt(
        "Contoso IT: restart required",
        "Your IT department installed security updates on this computer.\n"
        "Please save your work and restart when it suits you.",
        image_path=zemtest._windows_path(ROOT / "resources" / "zemclientui.ico")),
        "Contoso IT: restart required", "preaction-icon", "IDC_CANCEL_BUTTON", b"CANCEL")
    gallery.shot(restart_prompt(
        "Restart to finish updates",
        "Updates were installed that need a restart.\n"
        "Preview Action... shows what the restart finishes.",
        remind=False, preview_text=SECURITY_UPDATES),
        "Restart to finish updates", None, "IDC_CANCEL_BUTTON", b"CANCEL",
        before=Gallery.open_preview)
    gallery.shot(example("actionui-de.txt"), "Neustart erforderlich", "preaction-de",
                 "IDC_REMIND_BUTTON", b"REMIND:")
    # The captions stay ASCII: without a window manager Wine draws the title bar in a font of its
    # own that has no Japanese or Arabic glyphs (the caption's text itself is kept exactly).
    japanese = with_wine_translation_path(restart_prompt(
        "IT Support", "再起動が必要な更新プログラムがインストールされました。\n"
        "作業内容を保存してから、今すぐ再起動するか、再通知の時期を選んでください。",
        auto_seconds=1800, auto_message="コンピューターは自動的に再起動されます。",
        translation_path="translations/ja.txt"))
    arabic = with_wine_translation_path(restart_prompt(
        "IT Support", "ثبّت فريق الدعم الفني تحديثات تتطلب إعادة تشغيل الكمبيوتر.\n"
        "يُرجى حفظ عملك ثم إعادة التشغيل الآن، أو اختيار موعد التذكير.",
        auto_seconds=1800, auto_message="ستتم إعادة تشغيل الكمبيوتر تلقائيًا.",
        translation_path="translations/ar.txt"))
    chinese = with_wine_translation_path(restart_prompt(
        "IT Support", "已安装需要重启计算机的安全更新。\n"
        "请保存您的工作，然后立即重启，或选择何时再次提醒。",
        auto_seconds=1800, auto_message="计算机将自动重启。",
        translation_path="translations/zh-Hans.txt"))
    for request, name, family in ((japanese, "preaction-ja", "VL PGothic"),
                                  (arabic, "preaction-ar", "DejaVu Sans"),
                                  (chinese, "preaction-zh-Hans", "WenQuanYi Micro Hei")):
        dialog_font(zemtest.session(), family)
        try:
            gallery.shot(request, "IT Support", name, "IDC_REMIND_BUTTON", b"REMIND:")
        finally:
            dialog_font(zemtest.session(), None)

    render_fields(gallery)

    capture.use_session(dpi_state)
    steady_caret(zemtest.session())
    gallery.shot(example("remind.txt"), "Pending maintenance", "reminder-144dpi",
                 "IDC_REMIND_BUTTON", b"REMIND:",
                 before=Gallery.more_info)
    return gallery


def changed_pixels(new, old, masked):
    """How many pixels differ between two pictures of one size, outside the masked rectangles."""
    width, _, new_rows = new
    count = 0
    for y, (new_row, old_row) in enumerate(zip(new_rows, old[2])):
        if new_row == old_row:
            continue
        for x in range(width):
            if new_row[3 * x:3 * x + 3] == old_row[3 * x:3 * x + 3]:
                continue
            if not any(left <= x < right and top <= y < bottom
                       for left, top, right, bottom in masked):
                count += 1
    return count


def differences(rendered, committed, masks):
    """What differs between the pictures just rendered and the committed ones, one line each."""
    faults = []
    for name in sorted({p.stem for p in rendered.glob("*.png")} |
                       {p.stem for p in committed.glob("*.png")}):
        if not (committed / f"{name}.png").exists():
            faults.append(f"{name}.png: rendered but not committed")
            continue
        if not (rendered / f"{name}.png").exists():
            faults.append(f"{name}.png: committed but no longer rendered")
            continue
        new = capture.png_rows((rendered / f"{name}.png").read_bytes())
        old = capture.png_rows((committed / f"{name}.png").read_bytes())
        if new[:2] != old[:2]:
            faults.append(f"{name}.png: {old[0]} x {old[1]} committed, {new[0]} x {new[1]} now")
            continue
        changed = changed_pixels(new, old, masks.get(name, []))
        if changed:
            faults.append(f"{name}.png: {changed} pixels differ")
    return faults


def render_fields(gallery):
    """The pictures of docs/integrating.md: every text of the request is the name of its field,
    so that each field is labelled where it appears. AUTOMESSAGE, given, shows nowhere."""
    icon = zemtest._windows_path(ROOT / "resources" / "zemclientui.ico")
    gallery.shot(zemtest.Progress("TITLE", "MESSAGE", image_path=icon), "TITLE",
                 "fields-progress", "IDC_HIDE_BUTTON", b"OK")
    gallery.shot(zemtest.ActionUi(
        "TITLE", "MESSAGE", "BUTTONTEXT", cancel=True, preview_text="ACTIONPREVIEW",
        remind_seconds=1800, max_remind_seconds=14400, auto_seconds=3600,
        auto_message="AUTOMESSAGE", image_path=icon),
        "TITLE", "fields-actionui", "IDC_CANCEL_BUTTON", b"CANCEL",
        before=lambda g, title: g.open_preview(title, "fields-actionui-preview"))
    action = zemtest.Action(17, "RESTART", 86400, "ACTIONITEMMSG", "ACTIONITEMBODY",
                            "ACTIONITEMTITLE", preview=True, cancel=True)

    def unfold_and_preview(g, title):
        g.more_info(title)
        g.open_preview(title, "fields-remind-preview", preview_title="ACTIONITEMTITLE")

    gallery.shot(zemtest.Remind("TITLE", [action], 3600, image_path=icon), "TITLE",
                 "fields-remind", "IDC_REMIND_BUTTON", b"REMIND:", before=unfold_and_preview)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--state", required=True, help="session at the default 96 DPI")
    parser.add_argument("--dpi-state", required=True, help="session started with --dpi 144")
    parser.add_argument("--out", type=Path, default=ROOT / "docs" / "images")
    parser.add_argument("--check", action="store_true",
                        help="compare with the pictures in --out instead of writing them")
    options = parser.parse_args()
    if not options.check:
        render(options.state, options.dpi_state, options.out.resolve())
        return 0
    with tempfile.TemporaryDirectory() as scratch:
        gallery = render(options.state, options.dpi_state, Path(scratch))
        faults = differences(Path(scratch), options.out.resolve(), gallery.masks)
    for fault in faults:
        print(f"stale picture: {fault}", file=sys.stderr)
    if faults:
        print("scripts/screenshots.sh renders them again", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
