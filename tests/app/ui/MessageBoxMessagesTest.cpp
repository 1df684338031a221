#include "app/MessageBoxMessages.h"
#include "ui/TopmostHandOver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct BoxSeen {
    bool shown = false;
    QWidget* parent = nullptr;
    bool onTop = false;
#ifdef _WIN32
    HWND owner = nullptr;
    HWND dialog = nullptr;  // while the box was up: Qt may make the dialog's window anew later
    bool aboveDialog = false;
    bool nativeTopmost = false;
#endif
};

#ifdef _WIN32
// True when `upper` comes before `lower` walking the desktop's windows from the top.
bool isAbove(HWND upper, HWND lower)
{
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper)
            return true;
        if (window == lower)
            return false;
    }
    return false;
}
#endif

// Opens a message box while `dialog` runs modally with the topmost hand-over from `mainWindow`
// (as the target CAD dialog's buttons do) and notes where the box stood.
BoxSeen boxDuringModalDialog(QMainWindow& mainWindow, QDialog& dialog, app::MessageBoxMessages& messages)
{
    BoxSeen seen;
    QTimer::singleShot(0, &dialog, [&] {
        QTimer::singleShot(100, &dialog, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen.shown = true;
            seen.parent = box->parentWidget();
            seen.onTop = box->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
#ifdef _WIN32
            const auto boxWindow = reinterpret_cast<HWND>(box->winId());
            const auto dialogWindow = reinterpret_cast<HWND>(dialog.winId());
            seen.owner = GetWindow(boxWindow, GW_OWNER);
            seen.dialog = dialogWindow;
            seen.aboveDialog = isAbove(boxWindow, dialogWindow);
            seen.nativeTopmost = (GetWindowLongW(boxWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
#endif
            box->accept();
        });
        messages.show(ui::UserMessages::Kind::Error, QStringLiteral("削除できません"));
        dialog.accept();
    });
    // Closes whatever is still open should the box never show, so a failure cannot hang.
    QTimer::singleShot(10000, &dialog, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &dialog)
            modal->close();
        dialog.reject();
    });
    ui::runModalWithTopmostHandOver(mainWindow, dialog);
    return seen;
}

TEST(MessageBoxMessages, ABoxShownDuringTheTopmostHandOverStandsAboveTheDialog)
{
    QMainWindow mainWindow;
    mainWindow.setWindowFlag(Qt::WindowStaysOnTopHint);
    mainWindow.resize(320, 240);
    mainWindow.show();
    app::MessageBoxMessages messages(&mainWindow);
    QDialog dialog(&mainWindow);
    dialog.resize(400, 300);

    const BoxSeen seen = boxDuringModalDialog(mainWindow, dialog, messages);
    ASSERT_TRUE(seen.shown) << "no message box came up";
    EXPECT_EQ(seen.parent, &dialog) << "the box belongs to the window below the dialog";
    EXPECT_TRUE(seen.onTop);
#ifdef _WIN32
    EXPECT_EQ(seen.owner, seen.dialog);
    EXPECT_TRUE(seen.aboveDialog) << "the box opened behind the dialog";
    EXPECT_TRUE(seen.nativeTopmost);
#endif
}

TEST(MessageBoxMessages, WithoutADialogTheBoxBelongsToTheMainWindow)
{
    QMainWindow mainWindow;
    mainWindow.setWindowFlag(Qt::WindowStaysOnTopHint);
    mainWindow.show();
    app::MessageBoxMessages messages(&mainWindow);
    QWidget* parent = nullptr;
    bool onTop = false;
    QTimer::singleShot(100, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            parent = box->parentWidget();
            onTop = box->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
            box->accept();
        }
    });
    QTimer::singleShot(10000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    messages.show(ui::UserMessages::Kind::Information, QStringLiteral("0 / 3"));
    EXPECT_EQ(parent, &mainWindow);
    EXPECT_TRUE(onTop) << "a box below the topmost main window would be hidden by it";
}

}  // namespace
