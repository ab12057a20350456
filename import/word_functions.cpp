#include "import/word_functions.h"

namespace vembra {

int CountWords(const QString& text, const QString& delims)
{
    int count = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool delim = delims.contains(c);
        if (!delim && !inWord)
            ++count;
        inWord = !delim;
    }
    return count;
}

int WordPosition(int n, const QString& text, const QString& delims)
{
    int count = 0;
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool delim = delims.contains(text[i]);
        if (!delim && !inWord && ++count == n)
            return int(i) + 1;
        inWord = !delim;
    }
    return 0;
}

QString ExtractWord(int n, const QString& text, const QString& delims)
{
    const int position = WordPosition(n, text, delims);
    if (position == 0)
        return {};
    qsizetype end = position - 1;
    while (end < text.size() && !delims.contains(text[end]))
        ++end;
    return text.mid(position - 1, end - (position - 1));
}

} // namespace vembra
