#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

// Every control of a page's tool area must show its whole caption and keep clear of the
// others, in the fonts this machine falls back to.
TEST(MainFormLayout, CaptionsAreNotClippedAndControlsDoNotOverlap)
{
    QTemporaryDir dir;
    testing_support::RecordingMessages messages;
    testing_support::RecordingLauncher launcher;
    app::TKelvoMainForm form(std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit", messages, launcher);
    form.show();
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    // Optional pictures of the three pages for looking at the layout by eye.
    const QString pictures = qEnvironmentVariable("KELVO_SCREENSHOT_DIR");

    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* tools = pages->widget(page)->findChild<QWidget*>(pages->widget(page)->objectName() + "Tools");
        ASSERT_NE(tools, nullptr);
        SCOPED_TRACE(pages->widget(page)->objectName().toStdString());
        // The data count label holds a status text while the page is shown.
        if (page == 0)
            tools->findChild<QLabel*>(QStringLiteral("Label1"))->setText(QStringLiteral("取得データ数 = 9999"));

        QList<QWidget*> controls;
        for (QObject* child : tools->children()) {
            if (auto* widget = qobject_cast<QWidget*>(child); widget && widget->isVisible())
                controls << widget;
        }
        ASSERT_FALSE(controls.isEmpty());
        for (QWidget* control : controls) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_TRUE(tools->rect().contains(control->geometry()));
            if (qobject_cast<QPushButton*>(control)) {
                // The style's minimum button width is no concern here, only the caption.
                const auto* button = qobject_cast<QPushButton*>(control);
                EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width());
                EXPECT_LE(button->sizeHint().height(), button->height() + 2);
            } else if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control)) {
                EXPECT_LE(control->sizeHint().width(), control->width());
                EXPECT_LE(control->sizeHint().height(), control->height());
            }
            for (QWidget* other : controls) {
                if (other != control) {
                    EXPECT_FALSE(control->geometry().intersects(other->geometry())) << other->objectName().toStdString();
                }
            }
        }
        if (!pictures.isEmpty())
            form.grab().save(QDir(pictures).filePath(QStringLiteral("page%1.png").arg(page + 1)));
    }
}

}  // namespace
