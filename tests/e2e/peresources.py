"""Reads dialog templates and icon groups out of a Windows executable (PE32+), so the tests can
check the compiled resources byte for byte without running the program. pefile (Debian's
python3-pefile) reads the PE structure, the resource tree and the version resource; dialog
templates and icon groups, which it leaves as bytes, are parsed here."""

import struct
from dataclasses import dataclass, field

import pefile

RT_ICON = 3
RT_DIALOG = 5
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

# Predefined window classes stored as ordinals in a dialog template.
CLASS_ORDINALS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox",
                  0x84: "ScrollBar", 0x85: "ComboBox"}


@dataclass
class DialogItem:
    id: int
    class_name: str
    text: str
    x: int
    y: int
    width: int
    height: int
    style: int
    exstyle: int


@dataclass
class DialogTemplate:
    style: int
    exstyle: int
    x: int
    y: int
    width: int
    height: int
    menu: object
    class_name: object
    caption: str
    font_size: int = None
    font_name: str = None
    items: list = field(default_factory=list)


@dataclass
class IconEntry:
    width: int
    height: int
    color_count: int
    planes: int
    bit_count: int
    size: int
    icon_id: int


class PeResources:
    """The resource tree of one executable: {type: {name: {language: bytes}}}."""

    def __init__(self, path):
        self.pe = pefile.PE(str(path))
        self.tree = {}
        for kind in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            names = self.tree.setdefault(_entry_key(kind), {})
            for name in kind.directory.entries:
                languages = names.setdefault(_entry_key(name), {})
                for language in name.directory.entries:
                    data = language.data.struct
                    languages[language.id] = self.pe.get_data(data.OffsetToData, data.Size)

    def resource(self, type_id, name):
        """The bytes of a resource in its first language; KeyError when it is missing."""
        languages = self.tree[type_id][name]
        return languages[min(languages)]

    def dialog(self, name):
        return parse_dialog(self.resource(RT_DIALOG, name))

    def icon_group(self, name):
        data = self.resource(RT_GROUP_ICON, name)
        reserved, kind, count = struct.unpack_from("<HHH", data)
        assert (reserved, kind) == (0, 1), "not an icon group"
        return [IconEntry(*struct.unpack_from("<BBBxHHIH", data, 6 + 14 * i))
                for i in range(count)]

    def icon_image(self, icon_id):
        return self.resource(RT_ICON, icon_id)

    def version(self):
        """(file version, product version, {string name: value}) of VS_VERSION_INFO; the
        versions as (major, minor, patch, build)."""
        assert [info.Key for info in self.pe.VS_VERSIONINFO] == [b"VS_VERSION_INFO"]
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        assert fixed.Signature == 0xFEEF04BD
        split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)  # noqa: E731
        strings = {}
        for info in self.pe.FileInfo[0]:
            for table in getattr(info, "StringTable", []):
                strings.update((name.decode("utf-8"), value.decode("utf-8"))
                               for name, value in table.entries.items())
        return (split(fixed.FileVersionMS, fixed.FileVersionLS),
                split(fixed.ProductVersionMS, fixed.ProductVersionLS), strings)


def _entry_key(entry):
    """A resource directory entry's key: its number, or its name as a string."""
    return entry.id if entry.name is None else entry.name.decode("utf-8")  # pefile: UTF-8


# ---- dialog templates (DLGTEMPLATEEX) ----

def parse_dialog(data):
    version, signature = struct.unpack_from("<HH", data)
    assert (version, signature) == (1, 0xFFFF), "only extended dialog templates are read"
    _, exstyle, style, count, x, y, width, height = struct.unpack_from("<IIIHhhhh", data, 4)
    at = 26
    menu, at = _sz_or_ord(data, at)
    class_name, at = _sz_or_ord(data, at)
    caption, at = _sz_or_ord(data, at)
    dialog = DialogTemplate(style, exstyle, x, y, width, height, menu, class_name, caption)
    if style & 0x40:  # DS_SETFONT
        dialog.font_size, = struct.unpack_from("<H", data, at)
        dialog.font_name, at = _sz_or_ord(data, at + 6)
    for _ in range(count):
        at = (at + 3) & ~3
        _, item_exstyle, item_style, ix, iy, iw, ih, item_id = struct.unpack_from(
            "<IIIhhhhI", data, at)
        at += 24
        item_class, at = _sz_or_ord(data, at)
        text, at = _sz_or_ord(data, at)
        extra, = struct.unpack_from("<H", data, at)
        at += 2 + extra
        dialog.items.append(DialogItem(item_id, CLASS_ORDINALS.get(item_class, item_class),
                                       text, ix, iy, iw, ih, item_style, item_exstyle))
    return dialog


def _sz_or_ord(data, at):
    """A template field that is empty, an ordinal (0xFFFF and a number) or a UTF-16 string."""
    first, = struct.unpack_from("<H", data, at)
    if first == 0:
        return "", at + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2
