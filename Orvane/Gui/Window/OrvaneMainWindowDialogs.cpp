// The window's About box and plug-in list, both run through the prompt.
#include "Core/CUserPrompt.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/OrvaneMainWindow.h"
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Text(const char* id)
{
    return GuiText("OrvaneMainWindow", id);
}

const QString COMPANY = QStringLiteral("The Orvane project");
const QString BUILD_DATE = QStringLiteral("Oct  1 2002");

} // namespace

QString OrvaneMainWindow::AboutText()
{
    int version = 0;
    emit GetVersionNumber(version);
    const QString number = QStringLiteral("%1.%2").arg(version >> 16).arg(version & 0xFFFF);
    const QString lf = QStringLiteral("\n");
    return lf + lf + Text("id_about_product_name") + lf + lf + Text("id_about_copyright") + lf + COMPANY + lf + lf
           + Text("id_about_licensed_to") + lf + COMPANY + lf + lf + Text("id_about_product_version") + number + lf
           + Text("id_about_built_on") + BUILD_DATE;
}

void OrvaneMainWindow::about()
{
    QMessageBox box(this);
    const QPixmap logo = GuiPicture("OrvaneMainWindow", "id_about_logo");
    if (!logo.isNull())
        box.setIconPixmap(logo);
    box.setWindowTitle(Text("id_about_title"));
    box.setText(AboutText());
    CGuiServices::Prompt().Exec(box);
}

QPair<QString, QString> OrvaneMainWindow::SplitPluginEntry(const QString& entry)
{
    const int underscore = int(entry.indexOf(QLatin1Char('_'), 1));
    if (underscore < 0)
        return {entry, QString()};
    return {entry.left(underscore), entry.mid(underscore + 1)};
}

void OrvaneMainWindow::PluginInfoDialog()
{
    QStringList entries;
    emit GetInstalledPlugins(entries);

    QDialog dialog(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                             | Qt::WindowCloseButtonHint);
    dialog.setObjectName(QStringLiteral("PluginInfoDialog"));
    dialog.setModal(true);
    auto* column = new QVBoxLayout(&dialog);
    column->setSpacing(10);
    auto* frame = new QFrame(&dialog);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < entries.size(); ++i) {
        const QPair<QString, QString> parts = SplitPluginEntry(entries.at(i));
        grid->addWidget(new QLabel(parts.first, frame), i, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(new QLabel(parts.second, frame), i, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    column->addWidget(frame);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    ok->setFixedSize(ok->sizeHint());
    buttons->addWidget(ok);
    column->addLayout(buttons);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

    const QPixmap icon = GuiPicture("OrvaneMainWindow", "id_brimsel_logo_icon");
    if (!icon.isNull())
        dialog.setWindowIcon(icon);
    dialog.setWindowTitle(Text("id_plugin_info"));
    CGuiServices::Prompt().Exec(dialog);
}
