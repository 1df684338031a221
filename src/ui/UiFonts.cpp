#include "ui/UiFonts.h"

#include <QStringList>

namespace ui {

QFont tahomaFont(int pixelSize)
{
    QFont font;
    // Noto Sans CJK JP carries both the Latin and the Japanese captions at a similar size.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Meiryo UI")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QFont gothicFixedFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace ui
