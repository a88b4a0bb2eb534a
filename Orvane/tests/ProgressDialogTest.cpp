#include "Gui/Widgets/CProgressDialog.h"
#include "QtPrinters.h"
#include "TestApplication.h"
#include <QCloseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QPushButton* ButtonOf(CProgressDialog& dialog)
{
    return dialog.findChild<QPushButton*>();
}

TEST(ProgressDialog, ButtonSendsOneRequestUntilEnabledAgain)
{
    TestWidgetApplication();
    CProgressDialog dialog(nullptr, QStringLiteral("Popup Dialog"));
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Popup Dialog"));
    EXPECT_TRUE(dialog.isModal());
    dialog.SetButton(QStringLiteral("Cancel"), true);
    dialog.show();
    QSignalSpy clicked(&dialog, &CProgressDialog::ButtonClicked);
    QPushButton* button = ButtonOf(dialog);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button->isEnabled());
    dialog.SetButton(QStringLiteral("Cancel"), true);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 2);
}

TEST(ProgressDialog, EscapeAsksForCancellationAndLeavesTheDialogOpen)
{
    TestWidgetApplication();
    CProgressDialog dialog;
    dialog.SetButton(QStringLiteral("Cancel"), true);
    dialog.show();
    QSignalSpy rejected(&dialog, &CProgressDialog::Rejected);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(ButtonOf(dialog)->isEnabled());

    QCloseEvent close;
    QCoreApplication::sendEvent(&dialog, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(dialog.isVisible());
}

TEST(ProgressDialog, NullCaptionHidesTheButtonAndEmptyCaptionShowsIt)
{
    TestWidgetApplication();
    CProgressDialog dialog;
    dialog.show();
    QPushButton* button = ButtonOf(dialog);
    EXPECT_TRUE(button->isHidden());
    dialog.SetButton(QLatin1String(""), false);
    EXPECT_FALSE(button->isHidden());
    EXPECT_TRUE(button->text().isEmpty());
    EXPECT_FALSE(button->isEnabled());
    dialog.SetButton(QString(), true);
    EXPECT_TRUE(button->isHidden());
    dialog.SetText(QStringLiteral("Please wait"));
    EXPECT_GE(dialog.minimumWidth(), 250);
    EXPECT_GE(dialog.minimumHeight(), 100);
}

} // namespace
