// SPDX-License-Identifier: GPL-3.0-or-later
// The one crossing between the run's UTF-16 strings and Qt's.
#pragma once

#include <QString>
#include <QStringView>
#include <string_view>

namespace quorel {

inline QString ToQString(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

}  // namespace quorel
