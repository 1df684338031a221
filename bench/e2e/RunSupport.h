#pragma once

#include "KelvoEditWindow.h"
#include "Measurement.h"
#include "Runs.h"

#include "automation/Object.h"

#include <string>
#include <vector>

class QDialog;

namespace bench::e2e {

inline std::string rowName(const std::string& group, const std::string& operation, int count)
{
    return "e2e/" + group + "/" + operation + "/" + std::to_string(count);
}

inline std::string utf8(const std::u16string& text)
{
    return QString::fromStdU16String(text).toStdString();
}

// Empty when no message box was shown, else the first one's text.
std::string noMessage(const KelvoEditWindow& edit);
// The editor's lines joined by line feeds.
QString editorText(KelvoEditWindow& edit);
// Loads the editor as an acquisition does.
void loadEditor(KelvoEditWindow& edit, const QStringList& lines);

// The TextString of an entity, and of an attribute (by index) of a block reference.
std::u16string textOf(automation::Object& document, const std::u16string& handle);
std::u16string attributeOf(automation::Object& document, const std::u16string& handle, int index);
// The point a TEXT is placed by.
std::pair<double, double> insertionPointOf(automation::Object& document, const std::u16string& handle);

// Runs `act` on the dialog once it shows modally; `act` must close it. Then triggers the
// menu item that opens it.
void triggerWithDialog(KelvoEditWindow& edit, const char* item, QDialog* dialog, std::function<void()> act);

}  // namespace bench::e2e
