#pragma once
// A list of slave addresses as a technician types it: "1", "1,4,7", "3-12",
// or a mix ("1,3-5"). Every address is 1..247, each at most once, in the
// order given.

#include <QString>

#include <optional>
#include <vector>

namespace rbx14 {

inline constexpr int kLowestAddress = 1;
inline constexpr int kHighestAddress = 247;

// Nothing when the text is no such list.
std::optional<std::vector<int>> ParseAddressList(const QString& text);

}  // namespace rbx14
