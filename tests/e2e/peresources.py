"""Reads dialog templates and icon groups out of a Windows executable (PE32+), so the tests can
check the compiled resources byte for byte without running the program."""

import struct
from dataclasses import dataclass, field

RT_ICON = 3
RT_DIALOG = 5
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24
RESOURCE_DIRECTORY_INDEX = 2

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
        self.data = open(path, "rb").read()
        self.sections = self._read_sections()
        rva, _ = self._data_directory(RESOURCE_DIRECTORY_INDEX)
        self.base = self._offset(rva)
        self.tree = self._read_directory(0, depth=0)

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
        key, fixed, children = parse_version_block(self.resource(RT_VERSION, 1), 0)
        assert key == "VS_VERSION_INFO" and fixed[:4] == b"\xbd\x04\xef\xfe"
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", fixed, 8)
        split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)  # noqa: E731
        strings = {}
        for name, _, tables in children:
            if name == "StringFileInfo":
                for _, _, entries in tables:
                    strings.update((entry, value.decode("utf-16-le").rstrip("\0"))
                                   for entry, value, _ in entries)
        return split(file_ms, file_ls), split(product_ms, product_ls), strings

    # ---- PE structure ----

    def _read_sections(self):
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        assert self.data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        count, = struct.unpack_from("<H", self.data, pe + 6)
        optional_size, = struct.unpack_from("<H", self.data, pe + 20)
        self.optional = pe + 24
        table = self.optional + optional_size
        sections = []
        for i in range(count):
            virtual_size, address, raw_size, raw_offset = struct.unpack_from(
                "<IIII", self.data, table + 40 * i + 8)
            sections.append((address, max(virtual_size, raw_size), raw_offset))
        return sections

    def _data_directory(self, index):
        magic, = struct.unpack_from("<H", self.data, self.optional)
        first = 112 if magic == 0x20B else 96  # PE32+ or PE32
        return struct.unpack_from("<II", self.data, self.optional + first + 8 * index)

    def _offset(self, rva):
        for address, size, raw_offset in self.sections:
            if address <= rva < address + size:
                return raw_offset + rva - address
        raise ValueError(f"address {rva:#x} is in no section")

    def _read_directory(self, offset, depth):
        named, numbered = struct.unpack_from("<HH", self.data, self.base + offset + 12)
        result = {}
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, self.base + offset + 16 + 8 * i)
            key = self._entry_name(name)
            if target & 0x80000000:
                result[key] = self._read_directory(target & 0x7FFFFFFF, depth + 1)
            else:
                rva, size = struct.unpack_from("<II", self.data, self.base + target)
                start = self._offset(rva)
                result[key] = self.data[start:start + size]
        return result

    def _entry_name(self, name):
        if not name & 0x80000000:
            return name
        at = self.base + (name & 0x7FFFFFFF)
        length, = struct.unpack_from("<H", self.data, at)
        return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")


# ---- version information (VS_VERSIONINFO) ----

def _align4(offset):
    return (offset + 3) & ~3


def parse_version_block(data, at):
    """One block: (key, value bytes, child blocks), each child parsed the same way."""
    length, value_length, text_value = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = _align4(key_end + 2)
    value_size = value_length * 2 if text_value else value_length
    value = data[value_at:value_at + value_size]
    children = []
    child = _align4(value_at + value_size)
    while child < end:
        parsed = parse_version_block(data, child)
        children.append(parsed)
        child = _align4(child + struct.unpack_from("<H", data, child)[0])
    return key, value, children


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
