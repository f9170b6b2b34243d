#!/usr/bin/env python3
"""Reads the release's package of the Windows 11 menu as Windows would have
to, with readers of our own choosing (zipfile, xml.etree, hashlib), not the
packer's code: every entry whole (CRC), every block of the block map hashed,
the content types, and the manifest's class, categories, item types and
publisher against the DLL the install folder holds and the certificate.

  check_menu_package.py PACKAGE DLL (--unsigned | --certificate CERT.pem)

Prints what it found; exits 1, saying what is wrong, on the first fault.
"""
import argparse
import base64
import hashlib
import struct
import subprocess
import sys
import uuid
import xml.etree.ElementTree as ElementTree
import zipfile

BLOCK = 65536
UNSIGNED_PUBLISHER_MARK = "OID.2.25.311729368913984317654407730594956997722=1"
NS = {
    "m": "http://schemas.microsoft.com/appx/manifest/foundation/windows10",
    "uap": "http://schemas.microsoft.com/appx/manifest/uap/windows10",
    "uap10": "http://schemas.microsoft.com/appx/manifest/uap/windows10/10",
    "com": "http://schemas.microsoft.com/appx/manifest/com/windows10",
    "desktop4": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/4",
    "desktop5": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/5",
    "desktop10": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/10",
    "b": "http://schemas.microsoft.com/appx/2010/blockmap",
    "t": "http://schemas.openxmlformats.org/package/2006/content-types",
}
PACKAGE_PARTS = {"AppxBlockMap.xml", "[Content_Types].xml", "AppxSignature.p7x"}


def fail(text):
    print("menu package: " + text, file=sys.stderr)
    sys.exit(1)


def expect(condition, text):
    if not condition:
        fail(text)


def check_block_map(package, raw):
    root = ElementTree.fromstring(package.read("AppxBlockMap.xml"))
    expect(root.tag == "{%s}BlockMap" % NS["b"], "AppxBlockMap.xml is no block map")
    expect(root.get("HashMethod") == "http://www.w3.org/2001/04/xmlenc#sha256", "the block map does not use SHA-256")
    payload = {info.filename: info for info in package.infolist() if info.filename not in PACKAGE_PARTS}
    listed = set()
    blocks = 0
    for entry in root.findall("b:File", NS):
        name = entry.get("Name").replace("\\", "/")
        expect(name in payload, "the block map lists %s, which the package does not hold" % name)
        listed.add(name)
        info = payload[name]
        data = package.read(name)
        expect(int(entry.get("Size")) == len(data), "%s: the block map gives another size" % name)
        # The local header as it lies in the file, extra field included.
        name_length, extra_length = struct.unpack("<HH", raw[info.header_offset + 26:info.header_offset + 30])
        expect(int(entry.get("LfhSize")) == 30 + name_length + extra_length, "%s: LfhSize is not its header's" % name)
        hashes = [block.get("Hash") for block in entry.findall("b:Block", NS)]
        expect(len(hashes) == (len(data) + BLOCK - 1) // BLOCK, "%s: not one block per 64 KiB" % name)
        for index, listed_hash in enumerate(hashes):
            digest = hashlib.sha256(data[index * BLOCK:(index + 1) * BLOCK]).digest()
            expect(base64.b64decode(listed_hash) == digest, "%s: block %d has another hash" % (name, index))
        stored = info.compress_type == zipfile.ZIP_STORED
        sizes = [block.get("Size") for block in entry.findall("b:Block", NS)]
        expect(all((size is None) == stored for size in sizes), "%s: block sizes do not fit the entry's method" % name)
        blocks += len(hashes)
    expect(listed == set(payload), "files outside the block map: %s" % sorted(set(payload) - listed))
    print("block map: %d file(s), %d block(s), every hash checked" % (len(listed), blocks))


def check_content_types(package):
    root = ElementTree.fromstring(package.read("[Content_Types].xml"))
    overrides = {o.get("PartName"): o.get("ContentType") for o in root.findall("t:Override", NS)}
    defaults = {d.get("Extension").lower(): d.get("ContentType") for d in root.findall("t:Default", NS)}
    expect(overrides.get("/AppxManifest.xml") == "application/vnd.ms-appx.manifest+xml", "no type for the manifest")
    expect(overrides.get("/AppxBlockMap.xml") == "application/vnd.ms-appx.blockmap+xml", "no type for the block map")
    for info in package.infolist():
        if info.filename == "[Content_Types].xml":
            continue
        extension = info.filename.rsplit(".", 1)[-1].lower()
        expect("/" + info.filename in overrides or extension in defaults, "%s has no content type" % info.filename)


def windows_subject(certificate):
    """The certificate's subject as Windows spells a publisher; the test
    certificate's values need no quoting."""
    out = subprocess.run(["openssl", "x509", "-in", certificate, "-noout", "-subject", "-nameopt", "RFC2253"],
                         check=True, capture_output=True, text=True).stdout.strip()
    subject = out.split("=", 1)[1] if out.startswith("subject=") else out
    expect("\\" not in subject and "+" not in subject, "use a test certificate without specials: " + subject)
    return ", ".join(part.replace("ST=", "S=", 1) if part.startswith("ST=") else part for part in subject.split(","))


def check_manifest(package, dll, certificate):
    root = ElementTree.fromstring(package.read("AppxManifest.xml"))
    identity = root.find("m:Identity", NS)
    publisher = identity.get("Publisher")
    if certificate:
        expect(publisher == windows_subject(certificate),
               "Publisher %r is not the certificate's subject %r" % (publisher, windows_subject(certificate)))
    else:
        expect(publisher.endswith(", " + UNSIGNED_PUBLISHER_MARK), "an unsigned package's Publisher lacks the mark")
    expect(identity.get("Name") == "MORVANE.Shredder", "Identity Name is %r" % identity.get("Name"))
    version = identity.get("Version").split(".")
    expect(len(version) == 4 and all(v.isdigit() for v in version), "Version is not four numbers")
    expect(root.findtext("m:Properties/uap10:AllowExternalContent", namespaces=NS) == "true",
           "the files are not allowed outside the package")

    application = root.find("m:Applications/m:Application", NS)
    expect(application.get("Executable") == "binshredder.exe", "the application is not binshredder.exe")
    classes = root.findall(".//com:Extension[@Category='windows.comServer']/com:ComServer/com:SurrogateServer/com:Class",
                           NS)
    expect(len(classes) == 1, "not one surrogate class")
    clsid = classes[0].get("Id")
    expect(classes[0].get("Path") == "shredmenu.dll", "the class is not served by shredmenu.dll")
    expect(classes[0].get("ThreadingModel") == "STA", "the class is not apartment-threaded")

    menus = root.find(".//desktop4:Extension[@Category='windows.fileExplorerContextMenus']/"
                      "desktop4:FileExplorerContextMenus", NS)
    expect(menus is not None, "no File Explorer context menu")
    item_types = {}
    for prefix in ("desktop5", "desktop10"):
        for item in menus.findall("%s:ItemType" % prefix, NS):
            item_types[item.get("Type")] = [verb.get("Clsid") for verb in item.findall("%s:Verb" % prefix, NS)]
    expect(item_types == {"*": [clsid], "Directory": [clsid], "Drive": [clsid]},
           "item types and their verbs: %r" % item_types)
    ignorable = root.get("IgnorableNamespaces").split()
    expect("desktop10" in ignorable, "builds before 22621 would refuse the drive entry")

    # The DLL that the install folder holds serves that class: its class
    # table holds the GUID, its registration table the CLSID key.
    binary = open(dll, "rb").read()
    expect(uuid.UUID(clsid).bytes_le in binary, "%s has no class %s" % (dll, clsid))
    expect(("CLSID\\{%s}" % clsid.upper()).encode() in binary, "%s does not register %s" % (dll, clsid))
    print("manifest: %s %s, publisher %s" % (identity.get("Name"), identity.get("Version"), publisher))
    print("class %s (shredmenu.dll, surrogate) for %s" % (clsid, ", ".join(sorted(item_types))))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("package")
    parser.add_argument("dll")
    signing = parser.add_mutually_exclusive_group(required=True)
    signing.add_argument("--certificate")
    signing.add_argument("--unsigned", action="store_true")
    args = parser.parse_args()
    for path in (args.package, args.dll):
        try:
            open(path, "rb").close()
        except FileNotFoundError:
            print("SKIPPED: the release was not built (cmake --build --preset win64 --target release): " + path)
            return

    raw = open(args.package, "rb").read()
    with zipfile.ZipFile(args.package) as package:
        bad = package.testzip()
        expect(bad is None, "%s does not read back whole (CRC)" % bad)
        names = [info.filename for info in package.infolist()]
        print("files: " + ", ".join(names))
        expected = ["AppxManifest.xml", "AppxBlockMap.xml", "[Content_Types].xml"]
        if args.certificate:
            expected.append("AppxSignature.p7x")
        expect(sorted(names) == sorted(expected), "the package holds %s" % names)
        check_block_map(package, raw)
        check_content_types(package)
        check_manifest(package, args.dll, args.certificate)
    print("menu package: %s is right" % args.package)


if __name__ == "__main__":
    main()
