#include "CUserPrompt.h"
#include "Gui/Window/CGuiServices.h"
#include "Text/ShownName.h"
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>
#include <QScreen>

namespace {

// What a box takes beside its text: the icon, the margins and the spacing between them.
constexpr int kBoxSideRoom = 90;
// The widest a box is let grow for a long word: the toolkit cuts a word past its own limit (1000 pixels, less on
// a small screen); narrower than that, a box still reads at a glance.
constexpr int kBoxWidth = 640;
// Shorter than this, a name would no longer tell which file is meant.
constexpr int kShortestName = 12;

// The longest shortening of word that fits width; the shortest one when none does.
QString FittedWord(const QString& word, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(word) <= width || word.size() <= kShortestName)
        return word;
    int fits = kShortestName;
    int tooLong = int(word.size());
    while (tooLong - fits > 1) {
        const int middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(ShortenName(word, middle)) <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    return ShortenName(word, fits);
}

// The text with each word wider than width shortened to it; the box wraps its lines between words.
QString FittedText(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        QStringList words = line.split(QLatin1Char(' '));
        for (QString& word : words)
            word = FittedWord(word, metrics, width);
        line = words.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

int CWidgetPrompt::BoxLineWidth(const QMessageBox& box)
{
    // The toolkit's limit: the whole screen up to 1024 pixels, else the screen less 480, and 1000 at most.
    const QScreen* screen = box.screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : kBoxWidth;
    const int limit = screenWidth <= 1024 ? screenWidth : qMin(screenWidth - 480, 1000);
    return qMax(kShortestName, qMin(limit, kBoxWidth) - kBoxSideRoom);
}

std::unique_ptr<QMessageBox> CWidgetPrompt::MakeBox(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(icon, title, QString(), QMessageBox::NoButton, CGuiServices::MainWindow());
    box->setText(FittedText(text, box->fontMetrics(), BoxLineWidth(*box)));
    return box;
}

void CWidgetPrompt::ShowMessage(int kind, const QString& title, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (kind == WARNING)
        icon = QMessageBox::Warning;
    else if (kind == CRITICAL)
        icon = QMessageBox::Critical;
    else if (kind == INFORMATION)
        icon = QMessageBox::Information;
    else
        return;
    const std::unique_ptr<QMessageBox> box = MakeBox(icon, title, text);
    box->setStandardButtons(QMessageBox::Ok);
    box->exec();
}

int CWidgetPrompt::Ask(const QString& title, const QString& text, const QStringList& answers, int defaultAnswer,
                       int escapeAnswer)
{
    const std::unique_ptr<QMessageBox> box = MakeBox(QMessageBox::Warning, title, text);
    QList<QPushButton*> buttons;
    for (int i = 0; i < answers.size(); ++i)
        buttons.append(box->addButton(answers.at(i), i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    if (defaultAnswer >= 0 && defaultAnswer < buttons.size())
        box->setDefaultButton(buttons.at(defaultAnswer));
    if (escapeAnswer >= 0 && escapeAnswer < buttons.size())
        box->setEscapeButton(buttons.at(escapeAnswer));
    box->exec();
    const int chosen = int(buttons.indexOf(qobject_cast<QPushButton*>(box->clickedButton())));
    return chosen >= 0 ? chosen : escapeAnswer;
}

int CWidgetPrompt::Exec(QDialog& dialog)
{
    // A dialog made without a parent still opens over the main window.
    if (!dialog.parentWidget() && CGuiServices::MainWindow())
        dialog.setParent(CGuiServices::MainWindow(), dialog.windowFlags());
    return dialog.exec();
}

QString CWidgetPrompt::ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString CWidgetPrompt::ChooseSaveFile(QWidget* parent, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), folder, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString CUserPrompt::ChooseOpenFile(QWidget*, const QString&, const QString&)
{
    return QString();
}

QString CUserPrompt::ChooseSaveFile(QWidget*, const QString&, const QString&)
{
    return QString();
}

void CLogPrompt::ShowMessage(int, const QString&, const QString& text)
{
    if (m_Log)
        m_Log(text + QLatin1Char('\n'));
}

int CLogPrompt::Ask(const QString&, const QString&, const QStringList&, int defaultAnswer, int)
{
    return defaultAnswer;
}

int CLogPrompt::Exec(QDialog&)
{
    return QDialog::Rejected;
}

QString CLogPrompt::ChooseOpenFile(QWidget*, const QString&, const QString&)
{
    return QString();
}
