#include "taglists/ui/TagListCommands.h"

#include "taglists/TagLists.h"
#include "taglists/TextFileLauncher.h"
#include "ui/UserMessages.h"

#include <QComboBox>
#include <QDir>

namespace taglists {

namespace {

QString pathText(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

}  // namespace

void TagListCommands::launchEditor(const std::filesystem::path& path)
{
    if (std::filesystem::exists(path)) {
        launcher_.open(path);
        return;
    }
    messages_.show(ui::UserMessages::Kind::Information,
                   pathText(path) + u'\n' + QStringLiteral("ファイルが見つかりません．"));
}

std::optional<taglists::ListFileContent> TagListCommands::reload(const std::filesystem::path& path, QComboBox& combo,
                                                            taglists::TextEncoding& encoding)
{
    if (!std::filesystem::exists(path)) {
        messages_.show(ui::UserMessages::Kind::Plain, pathText(path) + u'\n' + QStringLiteral("が、見つかりません．"));
        return std::nullopt;
    }
    const int index = combo.currentIndex();
    auto content = taglists::readListFile(path);
    if (!content)
        return std::nullopt;  // Removed between the test and the read: as if it had been missing.
    encoding = content->encoding;
    std::vector<std::u16string> items = taglists::nonBlankLines(content->lines);
    taglists::sortIgnoringCase(items);

    combo.clear();
    for (const std::u16string& item : items)
        combo.addItem(QString::fromStdU16String(item));
    if (combo.count() > 0)
        combo.setCurrentIndex(index < combo.count() ? index : 0);
    return content;
}

}  // namespace taglists
