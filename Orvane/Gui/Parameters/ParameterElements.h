#pragma once
// The widgets of the parameter view: one element per shown parameter, each writing its edits straight into the
// parameter record it shows. The records belong to their parameter set, which outlives the elements.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QValidator>
#include <QWidget>

class CParameter;
class QGridLayout;

// Everything the view lists: single parameters and tables.
class Element : public QWidget
{
public:
    using QWidget::QWidget;
    virtual void Reset() {}
};

// Checks typed text against a parameter and stores accepted numbers at once. The toolkit also runs it when a
// text is set and when the focus leaves, so the text its element shows (SetShown) and any text while the
// element sets one (SetQuiet) are only judged: a display never writes a rounded or clamped value back.
class ParameterValidator : public QValidator
{
public:
    ParameterValidator(CParameter* parameter, QObject* parent);

    State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
    void SetQuiet(bool quiet) { mQuiet = quiet; }
    void SetShown(const QString& text) { mShown = text; }

private:
    bool IsUntouched(const QString& text) const { return mQuiet || (!mShown.isNull() && text == mShown); }

    CParameter* mpParameter;
    bool mQuiet = false;
    QString mShown;
};

class Edit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void LostFocus();
    void Changed();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A spin box has no validator of its own: it asks the parameter's.
class SEdit : public QSpinBox
{
    Q_OBJECT
public:
    SEdit(ParameterValidator* validator, QWidget* parent);

    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;

signals:
    void LostFocus();
    void Changed();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    ParameterValidator* mpValidator;
};

// One parameter: caption above; prefix, value widget and suffix in a row. Without labels (table cells) the
// value widget stands alone.
class SimpleElement : public Element
{
    Q_OBJECT
public:
    SimpleElement(CParameter* parameter, bool withLabels, QWidget* parent);

    virtual void UpdateValue() = 0;
    virtual int GetPrefixWidth() const;
    virtual void SetPrefixWidth(int width);
    virtual int GetValueWidth() const = 0;
    virtual void SetValueWidth(int width) = 0;

    CParameter* GetParameter() const { return mpParameter; }
    void SetCaption(const QString& text);
    void SetPrefix(const QString& text);
    void SetSuffix(const QString& text);
    QString GetValueText() const;

    // The group box that this element switches on and off (a bool shown as a check box).
    void SetControlledWidget(QWidget* widget) { mpControlledWidget = widget; }
    QWidget* GetControlledWidget() const { return mpControlledWidget; }
    QWidget* GetValueWidget() const { return mpValue; }

public slots:
    void Reset() override;

signals:
    void Changed();

protected:
    // Lays out the labels around the value widget, which takes the focus by click or Tab and the wheel only with it.
    void SetValueWidget(QWidget* value);

    QWidget* mpControlledWidget = nullptr;
    CParameter* mpParameter;
    bool mWithLabels;
    QLabel* mpCaption = nullptr;
    QLabel* mpPrefix = nullptr;
    QLabel* mpSuffix = nullptr;
    QWidget* mpValue = nullptr;
    // Set while the element shows the parameter's value, which then is never written back.
    bool mUpdating = false;
};

class Label : public SimpleElement
{
    Q_OBJECT
public:
    Label(CParameter* parameter, bool withLabels, QWidget* parent);
    void UpdateValue() override;
    int GetValueWidth() const override;
    void SetValueWidth(int width) override;

private:
    QLabel* mpLabel;
};

class CheckBox : public SimpleElement
{
    Q_OBJECT
public:
    CheckBox(CParameter* parameter, bool withLabels, QWidget* parent);
    void UpdateValue() override;
    int GetValueWidth() const override { return 0; }
    void SetValueWidth(int) override {}
    QCheckBox* GetCheckBox() const { return mpCheck; }

public slots:
    void Toggle(bool on);

private:
    QCheckBox* mpCheck;
};

class LineEdit : public SimpleElement
{
    Q_OBJECT
public:
    LineEdit(CParameter* parameter, bool withLabels, QWidget* parent);
    void UpdateValue() override;
    int GetValueWidth() const override;
    void SetValueWidth(int width) override;
    Edit* GetEdit() const { return mpEdit; }

public slots:
    void Check();

private:
    Edit* mpEdit;
    ParameterValidator* mpValidator;
};

class SpinEdit : public SimpleElement
{
    Q_OBJECT
public:
    SpinEdit(CParameter* parameter, bool withLabels, QWidget* parent);
    void UpdateValue() override;
    int GetValueWidth() const override;
    void SetValueWidth(int width) override;
    SEdit* GetSpinBox() const { return mpSpin; }

public slots:
    void Check();
    void SCheck(int value);

private:
    SEdit* mpSpin;
    ParameterValidator* mpValidator;
};

class ComboBox : public SimpleElement
{
    Q_OBJECT
public:
    ComboBox(CParameter* parameter, bool withLabels, QWidget* parent);
    void UpdateValue() override;
    int GetValueWidth() const override;
    void SetValueWidth(int width) override;
    QComboBox* GetComboBox() const { return mpCombo; }

public slots:
    void Activated(int index);

private:
    QComboBox* mpCombo;
};

// The range text of a number parameter ("id_min_max", "id_min", "id_max"), null for other types.
QString MakeRangeText(const CParameter* parameter);
