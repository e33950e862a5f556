#pragma once

#include <QImage>
#include <QWidget>

// A question's picture. Stretched, it fills the box as far as its
// proportions allow; otherwise it is shown at its own size, and the box asks
// for that much room so that a scroll area around it can scroll. A null
// image (no picture, or one that could not be decoded) shows nothing.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    bool hasPicture() const { return !m_image.isNull(); }

    void setStretch(bool stretch);
    bool stretch() const { return m_stretch; }

    // Where the picture is drawn inside the box.
    QRect pictureRect() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    bool m_stretch = true;
    // The last scaled copy: repainting at the same size scales nothing again.
    QImage m_scaled;
};
