// Texts shown by the settings subsystem (code page 932 at run time).
#pragma once

namespace settings::texts {

inline constexpr char kRegistryNotCreated[] = "レジストリは作成できませんでした。";
inline constexpr char kRegistryNotClosed[] = "レジストリのハンドルをクローズできませんでした。";
inline constexpr char kRegistryNotDeleted[] = "レジストリが削除できませんでした。";

}  // namespace settings::texts
