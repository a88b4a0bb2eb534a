#pragma once
#include <QGroupBox>
#include <QImage>
#include <QPixmap>

class QCheckBox;
class QLabel;
class QSpinBox;

// One source frame in the animation resize dialog: its picture, whether it is kept and its display time.
class CFrameObject : public QGroupBox
{
    Q_OBJECT
public:
    CFrameObject(QWidget* parent, const QString& name, const QImage& image, int width, int height, int displayTime);

    QPixmap GetPixmap() const;
    QLabel* GetImageLabel() const { return mpImageLabel; }
    QCheckBox* GetKeepBox() const { return mpKeep; }
    QSpinBox* GetDelayBox() const { return mpDelay; }

public slots:
    void UpdateImage(const QImage& image);

signals:
    void toggle(bool kept);
    void valueChanged();

private:
    // The largest side a frame is shown at.
    static constexpr int MAX_SHOWN = 120;
    QLabel* mpImageLabel;
    QWidget* mpHorizontalBox;
    QCheckBox* mpKeep;
    QSpinBox* mpDelay;
    int mDisplayTime;
};
