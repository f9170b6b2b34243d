// The parts of the release's packer that the package check (a Python reader
// of the real package) cannot reach: hashes at the padding's edges, block
// boundaries of files larger than the manifest, certificate subjects of
// other shapes than the test certificate's, and Windows' family names.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "installer/msix/msix_package.h"
#include "installer/msix/sha256.h"

namespace {

std::string Hex(const msix::Sha256Digest& digest) {
  std::string text;
  char pair[3];
  for (std::uint8_t byte : digest) {
    std::snprintf(pair, sizeof(pair), "%02x", byte);
    text += pair;
  }
  return text;
}

TEST(MsixPackage, Sha256AtEveryPaddingEdge) {
  const struct {
    std::string input;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // The length still fits the last block, just no more, just not, ...
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {std::string(65, 'a'), "635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0"},
      {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
      {std::string(120, 'a'), "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(msix::Sha256(c.input)), c.digest) << c.input.size() << " bytes";
}

// Every 64 KiB of a file is one block, the last one the rest; an empty file
// has none.
TEST(MsixPackage, BlockMapSplitsFilesAt64KiB) {
  const struct {
    std::size_t size;
    std::size_t blocks;
  } cases[] = {{0, 0}, {1, 1}, {65535, 1}, {65536, 1}, {65537, 2}, {3 * 65536, 3}};
  for (const auto& c : cases) {
    std::string data(c.size, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 65536);
    const std::string map = msix::BlockMap({{"Assets/big.bin", data}});
    EXPECT_NE(map.find("<File Name=\"Assets\\big.bin\" Size=\"" + std::to_string(c.size) + "\" LfhSize=\"44\">"),
              std::string::npos)
        << map;
    const std::regex block("<Block Hash=\"([A-Za-z0-9+/=]{44})\"/>");
    const auto count = std::distance(std::sregex_iterator(map.begin(), map.end(), block), std::sregex_iterator());
    EXPECT_EQ(static_cast<std::size_t>(count), c.blocks) << c.size;
  }
}

TEST(MsixPackage, NamesThatAPackageCannotHoldAreRefused) {
  const std::string bad[] = {"",
                             "/AppxManifest.xml",
                             "Assets/",
                             "AppxBlockMap.xml",
                             "[Content_Types].xml",
                             "AppxSignature.p7x",
                             "AppxMetadata/CodeIntegrity.cat",
                             "logo 1.png",
                             "ロゴ.png",
                             "a%20b.png",
                             std::string(261, 'a')};
  for (const std::string& name : bad) {
    EXPECT_FALSE(msix::WritePackage({{"AppxManifest.xml", "<Package/>"}, {name, "x"}})) << name;
  }
  EXPECT_FALSE(msix::WritePackage({{"AppxManifest.xml", "a"}, {"appxmanifest.XML", "b"}}))
      << "names differ in case only";
  EXPECT_TRUE(msix::WritePackage({{"AppxManifest.xml", "<Package/>"}, {"Assets/logo-1_b.png", "x"}}));
}

TEST(MsixPackage, PublisherIsTheSubjectAsWindowsSpellsIt) {
  const struct {
    const char* rfc2253;
    const char* publisher;
  } cases[] = {
      {"CN=MORVANE", "CN=MORVANE"},
      {"CN=MORVANE Test,O=MORVANE,C=JP", "CN=MORVANE Test, O=MORVANE, C=JP"},
      {"CN=A,ST=Tokyo,emailAddress=a@example.jp", "CN=A, S=Tokyo, E=a@example.jp"},
      {"CN=MORVANE\\, Inc.,O=M", "CN=\"MORVANE, Inc.\", O=M"},
      {"CN=Say \\\"hi\\\"", "CN=\"Say \"\"hi\"\"\""},
      {"CN=a\\+b", "CN=\"a+b\""},
      {"CN=x+OU=y,C=JP", "CN=x + OU=y, C=JP"},
      {"CN=\\E3\\83\\A2\\E3\\83\\BC", "CN=\xE3\x83\xA2\xE3\x83\xBC"},  // モー, escaped by byte
      {"CN=\xE3\x83\xA2", "CN=\xE3\x83\xA2"},
      {"2.5.4.97=VATJP-1", "OID.2.5.4.97=VATJP-1"},
      {"CN=\\ lead", "CN=\" lead\""},
  };
  for (const auto& c : cases) EXPECT_EQ(msix::WindowsPublisher(c.rfc2253), c.publisher) << c.rfc2253;
  for (const char* unreadable : {"", "CN", "CN=a,", "=a", "CN=a,,O=b", "1.2.3.4=#0403616263", "CN=a\\"}) {
    EXPECT_EQ(msix::WindowsPublisher(unreadable), std::nullopt) << unreadable;
  }
}

// Pairs that Windows itself shows for installed packages.
TEST(MsixPackage, FamilyNameCarriesThePublisherIdWindowsComputes) {
  EXPECT_EQ(msix::PackageFamilyName("Microsoft.WindowsCalculator",
                                    "CN=Microsoft Corporation, O=Microsoft Corporation, L=Redmond, S=Washington, C=US"),
            "Microsoft.WindowsCalculator_8wekyb3d8bbwe");
  EXPECT_EQ(msix::PackageFamilyName("PhotoStoreDemo", "CN=Contoso"), "PhotoStoreDemo_h91ms92gdsmmt");
}

}  // namespace
