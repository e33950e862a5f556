#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

// A question's picture. Stretched, it fills the box as far as its
// proportions allow; otherwise it is shown at its own size, and the box asks
// for that much room so that a scroll area around it can scroll. Bytes that
// hold no picture (none, or damaged ones) show nothing.
//
// A phone's photo decoded whole takes tens of megabytes, so the box keeps
// only the picture's bytes and decodes them at the size it shows them, never
// larger than the picture itself; the decoded copy goes when the box is
// hidden or given another picture.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QByteArray& bytes);
    bool hasPicture() const { return m_own.isValid(); }
    // The picture's own size, from its header.
    QSize pictureSize() const { return m_own; }
    // The picture decoded as the box shows it now.
    const QImage& image() const;

    void setStretch(bool stretch);
    bool stretch() const { return m_stretch; }

    // Where the picture is drawn inside the box.
    QRect pictureRect() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void dropImage();

    QByteArray m_bytes;
    QSize m_own;
    bool m_stretch = true;
    // Decoded for m_heldFor; a failed decoding is not tried again at that size.
    mutable QImage m_image;
    mutable QSize m_heldFor;
};
