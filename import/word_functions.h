#pragma once

#include <QString>

namespace vembra {

// Words of a text split at any of the delimiter characters; runs of delimiters make no words.
int CountWords(const QString& text, const QString& delims);
// The 1-based position of the first character of the n-th word; 0 when there are fewer words.
int WordPosition(int n, const QString& text, const QString& delims);
// The n-th word; empty when there is none.
QString ExtractWord(int n, const QString& text, const QString& delims);

// The delimiters of path words: slash and backslash.
inline const QString kPathDelims = QStringLiteral("/\\");

} // namespace vembra
