// msixpack: packs the release's package of the Windows 11 menu.
//
//   msixpack --manifest <AppxManifest.xml with @PUBLISHER@> --name <identity name>
//            (--subject <certificate subject, openssl -nameopt RFC2253> | --publisher <as the manifest has it>)
//            --output <package.msix> [--family-output <file>]
//
// The publisher goes into the manifest (a signed package's must be its
// certificate's subject); the family name Windows will give the package is
// written to --family-output, for the installer.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "installer/msix/msix_package.h"

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

int Fail(const std::string& message) {
  std::cerr << "msixpack: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  if (argc % 2 == 0 || !options.count("--manifest") || !options.count("--name") || !options.count("--output") ||
      options.count("--subject") == options.count("--publisher")) {
    return Fail(
        "usage: msixpack --manifest FILE --name NAME (--subject RFC2253 | --publisher TEXT) --output FILE "
        "[--family-output FILE]");
  }
  std::optional<std::string> manifest = ReadFile(options["--manifest"]);
  if (!manifest) return Fail("cannot read " + options["--manifest"]);

  std::optional<std::string> publisher =
      options.count("--subject") ? msix::WindowsPublisher(options["--subject"]) : options["--publisher"];
  if (!publisher || publisher->empty()) return Fail("cannot read the subject \"" + options["--subject"] + "\"");
  const std::string placeholder = "@PUBLISHER@";
  const std::size_t at = manifest->find(placeholder);
  if (at == std::string::npos || manifest->find(placeholder, at + 1) != std::string::npos) {
    return Fail("the manifest must hold " + placeholder + " once");
  }
  manifest->replace(at, placeholder.size(), msix::XmlEscaped(*publisher));

  const std::optional<std::string> package = msix::WritePackage({{"AppxManifest.xml", *manifest}});
  if (!package) return Fail("cannot pack the manifest");
  if (!WriteFile(options["--output"], *package)) return Fail("cannot write " + options["--output"]);
  if (options.count("--family-output") &&
      !WriteFile(options["--family-output"], msix::PackageFamilyName(options["--name"], *publisher) + "\n")) {
    return Fail("cannot write " + options["--family-output"]);
  }
  std::cout << "msixpack: " << options["--output"] << " for " << *publisher << "\n";
  return 0;
}
