"""The compiled dialog templates, application icon, version resource and manifest of
ZemClientUI.exe, read from the file."""

import re
import struct
from xml.etree import ElementTree

import peresources
import zemtest
from zemtest import IDS

WS_CHILD = 0x40000000
CHILD = WS_CHILD | zemtest.WS_VISIBLE
BUTTON = "Button"
EDIT = "Edit"
STATIC = "Static"
COMBO = "ComboBox"
SS_RIGHT = 0x2
SS_CENTERIMAGE = 0x200
DIALOG_WITH_MENU = (zemtest.WS_POPUP | zemtest.WS_CAPTION | zemtest.WS_SYSMENU |
                    zemtest.WS_MINIMIZEBOX | zemtest.DS_MODALFRAME | zemtest.DS_SETFONT)
MESSAGE_BOX = zemtest.ES_MULTILINE | zemtest.ES_READONLY | zemtest.WS_BORDER | zemtest.WS_VSCROLL
DROP_LIST = zemtest.CBS_DROPDOWNLIST | zemtest.WS_VSCROLL | zemtest.WS_TABSTOP
PUSH = zemtest.WS_TABSTOP
SS_NOPREFIX = 0x80
# A label only screen readers see: a child that is not visible.
LABEL = WS_CHILD | SS_NOPREFIX
ICON_SIZES = (64, 48, 32, 16)
ICON_BIT_COUNTS = (4, 8, 32)


def resources():
    return peresources.PeResources(zemtest.PRODUCT)


def check_dialog(dialog, size, style, exstyle, caption, items):
    """items: (name, class, text, x, y, width, height, style beyond WS_CHILD|WS_VISIBLE (or the
    whole style, when it has WS_CHILD), exstyle), in template order."""
    assert (dialog.width, dialog.height) == size
    assert (dialog.style, dialog.exstyle) == (style, exstyle)
    assert dialog.caption == caption
    assert (dialog.menu, dialog.class_name) == ("", "")
    assert (dialog.font_size, dialog.font_name) == (8, "MS Sans Serif")
    actual = [(item.id, item.class_name.lower(), item.text, item.x, item.y, item.width,
               item.height, item.style, item.exstyle) for item in dialog.items]
    expected = [(IDS[name] if isinstance(name, str) else name, kind.lower(), text, x, y, w, h,
                 extra_style if extra_style & WS_CHILD else CHILD | extra_style, extra_exstyle)
                for name, kind, text, x, y, w, h, extra_style, extra_exstyle in items]
    assert actual == expected


def test_progress_template():
    check_dialog(resources().dialog(IDS["IDD_PROGRESS"]), (256, 85), DIALOG_WITH_MENU,
                 zemtest.WS_EX_APPWINDOW, "", [
                     ("IDC_MESSAGE_LABEL", STATIC, "Message", 7, 7, 242, 50, LABEL, 0),
                     ("IDC_PROGRESS_MESSAGE", EDIT, "", 7, 7, 242, 50,
                      MESSAGE_BOX | zemtest.WS_TABSTOP, 0),
                     ("IDC_HIDE_BUTTON", BUTTON, "Hide", 159, 64, 90, 14, PUSH, 0),
                 ])


def test_preview_template():
    check_dialog(resources().dialog(IDS["IDD_PREVIEW"]), (267, 141),
                 zemtest.WS_POPUP | zemtest.WS_CAPTION | zemtest.DS_MODALFRAME |
                 zemtest.DS_SETFONT, 0, "", [
                     (1, BUTTON, "Hide", 170, 120, 90, 14, zemtest.BS_DEFPUSHBUTTON | PUSH, 0),
                     ("IDC_PREVIEW_LABEL", STATIC, "Preview", 7, 7, 253, 105, LABEL, 0),
                     ("IDC_PREVIEW_TEXT", EDIT, "", 7, 7, 253, 105,
                      MESSAGE_BOX | zemtest.WS_HSCROLL | zemtest.WS_TABSTOP, 0),
                 ])


def test_preaction_template():
    check_dialog(resources().dialog(IDS["IDD_PREACTION"]), (310, 128), DIALOG_WITH_MENU,
                 zemtest.WS_EX_APPWINDOW, "", [
                     ("IDC_REMIND_LABEL", STATIC, "Remind me again", 106, 108, 80, 14, LABEL, 0),
                     ("IDC_REMIND_COMBO", COMBO, "", 106, 108, 80, 54, DROP_LIST, 0),
                     ("IDC_ACTION_BUTTON", BUTTON, "Take Action Now", 213, 107, 90, 14,
                      zemtest.BS_DEFPUSHBUTTON | PUSH, 0),
                     ("IDC_PREVIEW_BUTTON", BUTTON, "Preview Action...", 7, 61, 90, 14, PUSH, 0),
                     ("IDC_CANCEL_BUTTON", BUTTON, "Cancel", 213, 61, 90, 14, PUSH, 0),
                     ("IDC_REMIND_BUTTON", BUTTON, "Remind Again", 7, 107, 90, 14, PUSH, 0),
                     ("IDC_COUNTDOWN", STATIC, "", 7, 87, 296, 8, SS_RIGHT | zemtest.WS_GROUP,
                      zemtest.WS_EX_RIGHT),
                     ("IDC_MESSAGE_LABEL", STATIC, "Message", 7, 7, 296, 50, LABEL, 0),
                     ("IDC_ACTION_MESSAGE", EDIT, "", 7, 7, 296, 50,
                      MESSAGE_BOX | zemtest.WS_TABSTOP, 0),
                 ])


def test_reminder_template():
    check_dialog(resources().dialog(IDS["IDD_REMINDER"]), (310, 220), DIALOG_WITH_MENU,
                 zemtest.WS_EX_APPWINDOW, "Reminder", [
                     ("IDC_REMIND_LABEL", STATIC, "Remind me again", 106, 74, 80, 14, LABEL, 0),
                     ("IDC_REMIND_COMBO", COMBO, "", 106, 74, 80, 54, DROP_LIST, 0),
                     ("IDC_REMIND_BUTTON", BUTTON, "Remind Again", 7, 73, 90, 14, PUSH, 0),
                     ("IDC_TAKE_ALL_BUTTON", BUTTON, "Take Actions Now", 213, 73, 90, 14, PUSH, 0),
                     ("IDC_MORE_INFO_BUTTON", BUTTON, "More Info...", 213, 7, 90, 14, PUSH, 0),
                     ("IDC_ACTION_LABEL", STATIC, "Pending action", 16, 112, 90, 14, LABEL, 0),
                     ("IDC_ACTION_COMBO", COMBO, "", 16, 112, 90, 54, DROP_LIST,
                      zemtest.WS_EX_RIGHT),
                     ("IDC_ACTION_BUTTON", BUTTON, "Take Action Now", 202, 190, 90, 14, PUSH, 0),
                     ("IDC_CANCEL_BUTTON", BUTTON, "Cancel", 109, 190, 90, 14, PUSH, 0),
                     ("IDC_PREVIEW_BUTTON", BUTTON, "Preview Action...", 16, 190, 90, 14, PUSH, 0),
                     ("IDC_SUMMARY", STATIC, "", 7, 10, 186, 30, zemtest.WS_GROUP, 0),
                     ("IDC_COUNTDOWN", STATIC, "", 7, 50, 296, 8, zemtest.WS_GROUP, 0),
                     ("IDC_MESSAGE_LABEL", STATIC, "Message", 16, 132, 276, 50, LABEL, 0),
                     ("IDC_ACTION_MESSAGE", EDIT, "", 16, 132, 276, 50,
                      MESSAGE_BOX | zemtest.WS_TABSTOP, 0),
                     ("IDC_ACTION_GROUP", BUTTON, "Title", 7, 97, 296, 116, zemtest.BS_GROUPBOX, 0),
                     ("IDC_DEADLINE", STATIC, "", 117, 112, 175, 12,
                      SS_CENTERIMAGE | zemtest.WS_GROUP, zemtest.WS_EX_RIGHT),
                 ])


def test_no_accelerator_tables():
    RT_ACCELERATOR = 9
    assert RT_ACCELERATOR not in resources().tree


def test_application_icon_group_has_twelve_images():
    res = resources()
    entries = res.icon_group(IDS["IDI_APPLICATION_ICON"])
    assert sorted((e.width, e.bit_count) for e in entries) == sorted(
        (size, bits) for size in ICON_SIZES for bits in ICON_BIT_COUNTS)
    for entry in entries:
        assert entry.height == entry.width
        assert entry.color_count == (16 if entry.bit_count == 4 else 0)
        image = res.icon_image(entry.icon_id)
        assert len(image) == entry.size
        header_size, width, height, planes, bits = struct.unpack_from("<IiiHH", image)
        assert (header_size, width, height, planes, bits) == (
            40, entry.width, 2 * entry.width, 1, entry.bit_count)
        palette = 4 * (1 << bits) if bits <= 8 else 0
        stride = (entry.width * bits + 31) // 32 * 4
        mask_stride = (entry.width + 31) // 32 * 4
        assert len(image) == 40 + palette + (stride + mask_stride) * entry.width
        # The picture is not empty: some pixels are opaque (mask bit 0).
        mask = image[-mask_stride * entry.width:]
        assert any(byte != 0xFF for byte in mask)


def project_version():
    """The one version number, as CMakeLists.txt declares it."""
    text = (zemtest.REPO_ROOT / "CMakeLists.txt").read_text()
    return tuple(int(part) for part in
                 re.search(r"project\(ZemClientUI VERSION (\d+)\.(\d+)\.(\d+)", text).groups())


def test_version_resource_carries_the_project_version():
    file_version, product_version, strings = resources().version()
    version = project_version()
    assert file_version == product_version == (*version, 0)
    dotted = ".".join(map(str, version))
    assert (strings["FileVersion"], strings["ProductVersion"]) == (dotted, dotted)
    assert strings["ProductName"] == "ZemClientUI"
    assert strings["OriginalFilename"] == "ZemClientUI.exe"
    assert strings["FileDescription"].startswith("ZemClientUI")
    assert strings["LegalCopyright"].startswith("Copyright")


def test_manifest_asks_for_styles_dpi_awareness_supported_systems_and_no_elevation():
    namespaces = {"v1": "urn:schemas-microsoft-com:asm.v1",
                  "v3": "urn:schemas-microsoft-com:asm.v3",
                  "compat": "urn:schemas-microsoft-com:compatibility.v1",
                  "ws2005": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                  "ws2016": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}
    manifest = ElementTree.fromstring(resources().resource(peresources.RT_MANIFEST, 1))
    identity = manifest.find("v1:assemblyIdentity", namespaces)
    assert identity.get("version") == ".".join(map(str, (*project_version(), 0)))
    controls = manifest.find("v1:dependency/v1:dependentAssembly/v1:assemblyIdentity", namespaces)
    assert (controls.get("name"), controls.get("version")) == (
        "Microsoft.Windows.Common-Controls", "6.0.0.0")
    level = manifest.find(".//v3:requestedExecutionLevel", namespaces)
    assert (level.get("level"), level.get("uiAccess")) == ("asInvoker", "false")
    systems = {os.get("Id") for os in manifest.iterfind(".//compat:supportedOS", namespaces)}
    assert systems == {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
                       "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
                       "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
                       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}  # 10 and 11
    assert manifest.find(".//ws2005:dpiAware", namespaces).text == "true"
    assert manifest.find(".//ws2016:dpiAwareness", namespaces).text == "system"
