#pragma once

#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "ui/LineEditorWidget.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace textops_ui_testing {

// The main window with its text tools, recording its message boxes.
class TextToolsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::filesystem::path folder(dir_.path().toStdU16String());
        form_ = std::make_unique<app::TKelvoMainForm>(folder / "kelvoedit", messages_, launcher_);
        editor_ = form_->findChild<::ui::LineEditorWidget*>(QStringLiteral("SynEdit1"));
        ASSERT_NE(editor_, nullptr);
    }

    app::TKelvoMainForm& form() { return *form_; }
    ::ui::LineEditorWidget& editor() { return *editor_; }

    template <class T>
    T& child(QObject& parent, const char* name)
    {
        T* found = parent.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    template <class T>
    T& dialog(const char* name)
    {
        return child<T>(*form_, name);
    }

    // Runs the popup-menu item; `user` acts on the dialog once it is shown modally and must
    // close it. Without a dialog the item runs on its own.
    void trigger(const char* item, QDialog* shown = nullptr, std::function<void()> user = {})
    {
        QAction& action = child<QAction>(*form_, item);
        if (shown) {
            auto* poll = new QTimer(shown);
            poll->setInterval(0);
            QObject::connect(poll, &QTimer::timeout, shown, [poll, shown, user] {
                if (!shown->isVisible())
                    return;
                poll->deleteLater();
                user();
            });
            poll->start();
        }
        action.trigger();
    }

    // Loads the lines the way an acquisition does.
    void setLines(const QStringList& lines) { editor_->loadText(lines.join(u'\n')); }
    QStringList lines() const { return editor_->toPlainText().split(u'\n'); }
    // The page's Undo button, pressed once, must bring `before` back.
    void expectOneUndo(const QString& before)
    {
        QPushButton& undo = child<QPushButton>(*form_, "SpeedButton4");
        ASSERT_TRUE(undo.isEnabled());
        undo.click();
        EXPECT_EQ(editor_->toPlainText(), before);
    }
    // Nothing was changed, and nothing was saved for the Undo button.
    void expectUntouched(const QStringList& before)
    {
        EXPECT_EQ(lines(), before);
        EXPECT_FALSE(editor_->document()->isUndoAvailable());
        EXPECT_FALSE(form_->lineEditorFields().undoFlag);
    }

    // Selects from (line, column) to (line, column), both 0-based.
    void select(int fromLine, int fromColumn, int toLine, int toColumn);

    QTemporaryDir dir_;
    testing_support::RecordingMessages messages_;
    testing_support::RecordingLauncher launcher_;
    std::unique_ptr<app::TKelvoMainForm> form_;
    ::ui::LineEditorWidget* editor_ = nullptr;
};

inline void TextToolsFixture::select(int fromLine, int fromColumn, int toLine, int toColumn)
{
    const QTextDocument& document = *editor_->document();
    QTextCursor cursor(editor_->document());
    cursor.setPosition(document.findBlockByNumber(fromLine).position() + fromColumn);
    cursor.setPosition(document.findBlockByNumber(toLine).position() + toColumn, QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
}

// Sets a line edit the way typing does, so its change handlers run.
inline void type(QLineEdit& edit, const QString& text)
{
    edit.selectAll();
    edit.insert(text);
}

}  // namespace textops_ui_testing
