// The package that puts our command in Windows 11's first right-click menu,
// written without Microsoft's packaging tools (Debian has none): a ZIP file
// of the payload (the manifest), the block map (AppxBlockMap.xml: the
// SHA-256 of every 64 KiB block of every payload file) and the content types
// ([Content_Types].xml). The files are stored, which the block map allows
// (its blocks then carry no compressed size), and the archive is ZIP32,
// which the platform's package reader accepts. Signing adds
// AppxSignature.p7x later and writes the content types anew.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace msix {

struct PayloadFile {
  std::string name;  // in the package, '/' between folders: "AppxManifest.xml", "Assets/logo.png"
  std::string data;
};

// The whole package file. Nothing when a name is empty, longer than the
// format allows, repeated, one of the package's own parts, or has other
// characters than ASCII letters, digits, '.', '-', '_' and '/' (so that no
// name needs the escaping of the package's part names).
std::optional<std::string> WritePackage(const std::vector<PayloadFile>& payload);

// The block map alone, for the files as WritePackage stores them.
std::string BlockMap(const std::vector<PayloadFile>& payload);

// A certificate's subject as openssl prints it with -nameopt RFC2253 (the
// most specific part first, specials escaped with a backslash, UTF-8) turned
// into the form a manifest's Publisher must have: the certificate's subject
// as Windows spells it ("CN=MORVANE, O=MORVANE, C=JP": ", " between the
// parts, " + " inside one, S for ST and E for emailAddress, values with
// specials in double quotes). Nothing when it cannot be read.
std::optional<std::string> WindowsPublisher(std::string_view rfc2253);

// The family name Windows gives the package: its name, '_', and the
// publisher ID, the first 64 bits of the SHA-256 of the UTF-16 publisher in
// base 32 (13 characters).
std::string PackageFamilyName(std::string_view name, std::string_view publisher);

// Text for an XML attribute or element.
std::string XmlEscaped(std::string_view text);

}  // namespace msix
