#include "RunSupport.h"

#include "app/TKelvoMainForm.h"
#include "automation/Variant.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <QAction>
#include <QDialog>
#include <QTimer>

#include <stdexcept>

namespace bench::e2e {

using automation::ObjectRef;
using automation::Variant;

std::string noMessage(const KelvoEditWindow& edit)
{
    if (edit.messages.shown.empty())
        return {};
    return "message: " + edit.messages.shown.front().text.toStdString();
}

QString editorText(KelvoEditWindow& edit)
{
    return edit.ui().SynEdit1->toPlainText();
}

void loadEditor(KelvoEditWindow& edit, const QStringList& lines)
{
    edit.ui().SynEdit1->loadText(lines.join(u'\n'));
}

std::u16string textOf(automation::Object& document, const std::u16string& handle)
{
    return document.call(u"HandleToObject", {Variant(handle)}).toObject()->get(u"TextString").toString();
}

std::u16string attributeOf(automation::Object& document, const std::u16string& handle, int index)
{
    const Variant attributes = document.call(u"HandleToObject", {Variant(handle)}).toObject()->call(u"GetAttributes");
    return attributes.at(static_cast<size_t>(index)).toObject()->get(u"TextString").toString();
}

std::pair<double, double> insertionPointOf(automation::Object& document, const std::u16string& handle)
{
    const Variant point = document.call(u"HandleToObject", {Variant(handle)}).toObject()->get(u"InsertionPoint");
    return {point.doubleAt(0), point.doubleAt(1)};
}

void triggerWithDialog(KelvoEditWindow& edit, const char* item, QDialog* dialog, std::function<void()> act)
{
    QAction* action = edit.form().findChild<QAction*>(QString::fromLatin1(item));
    if (!action)
        throw std::runtime_error(std::string("no menu item ") + item);
    if (dialog) {
        auto* poll = new QTimer(dialog);
        poll->setInterval(0);
        QObject::connect(poll, &QTimer::timeout, dialog, [poll, dialog, act] {
            if (!dialog->isVisible())
                return;
            poll->deleteLater();
            act();
        });
        poll->start();
    }
    action->trigger();
}

}  // namespace bench::e2e
