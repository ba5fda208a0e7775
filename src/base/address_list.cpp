#include "base/address_list.h"

#include <QStringList>

#include <algorithm>

namespace rbx14 {
namespace {

std::optional<int> Address(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < kLowestAddress || value > kHighestAddress) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::vector<int>> ParseAddressList(const QString& text) {
  std::vector<int> out;
  for (const QString& part : text.split(u',')) {
    const QStringList ends = part.split(u'-');
    std::optional<int> first = Address(ends.front());
    std::optional<int> last = ends.size() == 2 ? Address(ends.back()) : first;
    if (ends.size() > 2 || !first || !last || *last < *first) return std::nullopt;
    for (int a = *first; a <= *last; ++a) {
      if (std::find(out.begin(), out.end(), a) != out.end()) return std::nullopt;
      out.push_back(a);
    }
  }
  return out;
}

}  // namespace rbx14
