#include "installer/msix/msix_package.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "common/crc32.h"
#include "installer/msix/sha256.h"

namespace msix {
namespace {

constexpr char kBlockMapName[] = "AppxBlockMap.xml";
constexpr char kContentTypesName[] = "[Content_Types].xml";
constexpr char kManifestName[] = "AppxManifest.xml";
constexpr std::size_t kBlockSize = 65536;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxNameLength = 260;
// 1980-01-01 00:00, the earliest DOS date: the same input gives the same package.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (1 << 5) | 1;

std::string Base64(const Sha256Digest& digest) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t at = 0; at < digest.size(); at += 3) {
    const std::size_t left = std::min<std::size_t>(3, digest.size() - at);
    std::uint32_t group = std::uint32_t{digest[at]} << 16;
    if (left > 1) group |= std::uint32_t{digest[at + 1]} << 8;
    if (left > 2) group |= digest[at + 2];
    for (std::size_t i = 0; i < 4; ++i) text.push_back(i <= left ? kDigits[(group >> (18 - 6 * i)) & 63] : '=');
  }
  return text;
}

void Put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool IsAcceptedName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength || name.front() == '/' || name.back() == '/') return false;
  if (name == kBlockMapName || name == kContentTypesName || name == "AppxSignature.p7x" ||
      name.rfind("AppxMetadata/", 0) == 0) {
    return false;
  }
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_' || c == '/';
  });
}

std::string Lowercase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The extension of a part's last name, lowercase; empty when it has none.
std::string Extension(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return Lowercase(std::string(name.substr(dot + 1)));
}

using Pair = std::pair<const char*, const char*>;

// The second of the pair whose first is `key`; nothing when none is.
template <std::size_t size>
const char* Lookup(const Pair (&pairs)[size], std::string_view key) {
  for (const auto& [first, second] : pairs) {
    if (key == first) return second;
  }
  return nullptr;
}

const char* ContentTypeOf(const std::string& extension) {
  static constexpr Pair kTypes[] = {
      {"png", "image/png"},
      {"jpg", "image/jpeg"},
      {"jpeg", "image/jpeg"},
      {"xml", "application/xml"},
      {"dll", "application/x-msdownload"},
      {"exe", "application/x-msdownload"},
  };
  const char* type = Lookup(kTypes, extension);
  return type ? type : "application/octet-stream";
}

std::string ContentTypes(const std::vector<PayloadFile>& payload) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
  std::set<std::string> defaults;
  std::string overrides =
      "<Override PartName=\"/AppxManifest.xml\" ContentType=\"application/vnd.ms-appx.manifest+xml\"/>"
      "<Override PartName=\"/AppxBlockMap.xml\" ContentType=\"application/vnd.ms-appx.blockmap+xml\"/>";
  for (const PayloadFile& file : payload) {
    if (file.name == kManifestName) continue;
    const std::string extension = Extension(file.name);
    if (extension.empty()) {
      overrides += "<Override PartName=\"/" + file.name + "\" ContentType=\"application/octet-stream\"/>";
    } else if (defaults.insert(extension).second) {
      xml += "<Default Extension=\"" + extension + "\" ContentType=\"" + ContentTypeOf(extension) + "\"/>";
    }
  }
  return xml + overrides + "</Types>";
}

// A DEFLATE stream of stored blocks: the content types are an entry of that
// method, since signing (osslsigncode) writes them anew compressed under the
// method the entry had, and a stored entry would then be corrupt.
std::string DeflateStored(std::string_view bytes) {
  std::string stream;
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(bytes.size() - at, 0xFFFF);
    const bool last = at + length == bytes.size();
    stream.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00
    Put16(stream, static_cast<std::uint32_t>(length));
    Put16(stream, static_cast<std::uint32_t>(~length & 0xFFFF));
    stream.append(bytes.substr(at, length));
    at += length;
  } while (at < bytes.size());
  return stream;
}

std::string BackslashName(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

// Code points of UTF-8 text; a byte that starts no valid sequence stands for
// itself, so every input has a spelling.
std::u16string Utf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = byte < 0x80         ? 1
                               : (byte >> 5) == 6  ? 2
                               : (byte >> 4) == 14 ? 3
                               : (byte >> 3) == 30 ? 4
                                                   : 0;
    char32_t point = length == 1 ? byte : length == 2 ? byte & 0x1F : length == 3 ? byte & 0x0F : byte & 0x07;
    bool valid = length != 0 && at + length <= utf8.size();
    for (std::size_t i = 1; valid && i < length; ++i) {
      const auto next = static_cast<unsigned char>(utf8[at + i]);
      valid = (next >> 6) == 2;
      point = (point << 6) | (next & 0x3F);
    }
    if (!valid) {
      point = byte;
      at += 1;
    } else {
      at += length;
    }
    if (point >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(point));
    }
  }
  return out;
}

struct Attribute {
  std::string type;
  std::string value;
};

// Windows' short names where they differ from openssl's.
std::string WindowsType(const std::string& type) {
  static constexpr Pair kNames[] = {
      {"ST", "S"},
      {"emailAddress", "E"},
      {"street", "STREET"},
      {"serialNumber", "SERIALNUMBER"},
      {"GN", "G"},
      {"title", "T"},
      {"initials", "I"},
      {"UID", "OID.0.9.2342.19200300.100.1.1"},
      {"postalCode", "PostalCode"},
      {"description", "Description"},
  };
  if (const char* windows = Lookup(kNames, type)) return windows;
  if (!type.empty() && type.front() >= '0' && type.front() <= '9') return "OID." + type;
  return type;
}

std::string WindowsValue(const std::string& value) {
  const bool plain = !value.empty() && value.front() != ' ' && value.back() != ' ' &&
                     value.find_first_of(",+=\"\n<>#;") == std::string::npos;
  if (plain) return value;
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string XmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string BlockMap(const std::vector<PayloadFile>& payload) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<BlockMap xmlns=\"http://schemas.microsoft.com/appx/2010/blockmap\" "
      "HashMethod=\"http://www.w3.org/2001/04/xmlenc#sha256\">";
  for (const PayloadFile& file : payload) {
    xml += "<File Name=\"" + XmlEscaped(BackslashName(file.name)) + "\" Size=\"" + std::to_string(file.data.size()) +
           "\" LfhSize=\"" + std::to_string(kLocalHeaderSize + file.name.size()) + "\">";
    // Stored entries: the blocks' sizes are implied, so they carry none.
    for (std::size_t at = 0; at < file.data.size(); at += kBlockSize) {
      xml += "<Block Hash=\"" + Base64(Sha256(std::string_view(file.data).substr(at, kBlockSize))) + "\"/>";
    }
    xml += "</File>";
  }
  return xml + "</BlockMap>";
}

std::optional<std::string> WritePackage(const std::vector<PayloadFile>& payload) {
  std::set<std::string> names;
  for (const PayloadFile& file : payload) {
    // ZIP32 sizes and offsets; the package is a manifest and a few pictures.
    if (!IsAcceptedName(file.name) || !names.insert(Lowercase(file.name)).second || file.data.size() >= 0xFFFFFFFFu) {
      return std::nullopt;
    }
  }
  struct Part {
    std::string name;
    std::string data;
    bool deflated;
  };
  std::vector<Part> parts;
  for (const PayloadFile& file : payload) parts.push_back({file.name, file.data, false});
  parts.push_back({kBlockMapName, BlockMap(payload), false});
  parts.push_back({kContentTypesName, ContentTypes(payload), true});

  std::string zip;
  std::string directory;
  for (const Part& part : parts) {
    const std::uint32_t offset = static_cast<std::uint32_t>(zip.size());
    const std::uint32_t crc = checksum::Crc32(part.data);
    const std::string stored = part.deflated ? DeflateStored(part.data) : part.data;
    const auto size = static_cast<std::uint32_t>(part.data.size());
    const auto storedSize = static_cast<std::uint32_t>(stored.size());
    const std::uint32_t method = part.deflated ? 8 : 0;
    Put32(zip, 0x04034b50);
    Put16(zip, 20);  // version needed: 2.0
    Put16(zip, 0);   // no flags: sizes are in the header, names are ASCII
    Put16(zip, method);
    Put16(zip, kDosTime);
    Put16(zip, kDosDate);
    Put32(zip, crc);
    Put32(zip, storedSize);
    Put32(zip, size);
    Put16(zip, static_cast<std::uint32_t>(part.name.size()));
    Put16(zip, 0);  // no extra field: LfhSize in the block map counts on it
    zip += part.name;
    zip += stored;

    Put32(directory, 0x02014b50);
    Put16(directory, 20);  // made by: 2.0, MS-DOS attributes
    Put16(directory, 20);
    Put16(directory, 0);
    Put16(directory, method);
    Put16(directory, kDosTime);
    Put16(directory, kDosDate);
    Put32(directory, crc);
    Put32(directory, storedSize);
    Put32(directory, size);
    Put16(directory, static_cast<std::uint32_t>(part.name.size()));
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory += part.name;
  }
  const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
  zip += directory;
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, static_cast<std::uint32_t>(parts.size()));
  Put16(zip, static_cast<std::uint32_t>(parts.size()));
  Put32(zip, static_cast<std::uint32_t>(directory.size()));
  Put32(zip, directoryOffset);
  Put16(zip, 0);
  return zip;
}

std::optional<std::string> WindowsPublisher(std::string_view rfc2253) {
  // Relative names, each of one or more attributes ('+' between them).
  std::vector<std::vector<Attribute>> names(1);
  Attribute current;
  bool inValue = false;
  const auto finish = [&]() {
    if (!inValue || current.type.empty()) return false;
    names.back().push_back({WindowsType(current.type), WindowsValue(current.value)});
    current = {};
    inValue = false;
    return true;
  };
  for (std::size_t at = 0; at < rfc2253.size(); ++at) {
    const char c = rfc2253[at];
    if (!inValue) {
      if (c == '=') {
        inValue = true;
        // A value in BER ("#04..."): the type is one openssl does not know by name.
        if (at + 1 < rfc2253.size() && rfc2253[at + 1] == '#') return std::nullopt;
      } else if (c == ',' || c == '+' || c == '\\') {
        return std::nullopt;
      } else {
        current.type += c;
      }
    } else if (c == '\\') {
      if (at + 1 >= rfc2253.size()) return std::nullopt;
      const int high = HexDigit(rfc2253[at + 1]);
      const int low = at + 2 < rfc2253.size() ? HexDigit(rfc2253[at + 2]) : -1;
      if (high >= 0 && low >= 0) {
        current.value += static_cast<char>(high * 16 + low);
        at += 2;
      } else {
        current.value += rfc2253[++at];
      }
    } else if (c == ',' || c == '+') {
      if (!finish()) return std::nullopt;
      if (c == ',') names.emplace_back();
    } else {
      current.value += c;
    }
  }
  if (!finish()) return std::nullopt;
  std::string publisher;
  for (const std::vector<Attribute>& name : names) {
    if (!publisher.empty()) publisher += ", ";
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (i > 0) publisher += " + ";
      publisher += name[i].type + "=" + name[i].value;
    }
  }
  return publisher;
}

std::string PackageFamilyName(std::string_view name, std::string_view publisher) {
  const std::u16string wide = Utf16(publisher);
  std::string bytes;
  for (char16_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  const Sha256Digest digest = Sha256(bytes);
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | digest[i];
  // 64 bits in groups of five, the last padded with a zero bit.
  static constexpr char kDigits[] = "0123456789abcdefghjkmnpqrstvwxyz";
  std::string id;
  for (int shift = 59; shift >= 0; shift -= 5) id.push_back(kDigits[(bits >> shift) & 31]);
  id.push_back(kDigits[(bits << 1) & 31]);
  return std::string(name) + "_" + id;
}

}  // namespace msix
