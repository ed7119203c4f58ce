#pragma once

#include <QString>

namespace kq { inline const QString ProductWebPage = QStringLiteral("https://quorvex.example.org/"); }
