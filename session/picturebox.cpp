#include "picturebox.h"

#include <QPainter>
#include <algorithm>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::setImage(const QImage& image) {
    m_image = image;
    m_scaled = QImage();
    updateGeometry();
    update();
}

void PictureBox::setStretch(bool stretch) {
    if (m_stretch == stretch)
        return;
    m_stretch = stretch;
    m_scaled = QImage();
    updateGeometry();
    update();
}

QSize PictureBox::minimumSizeHint() const {
    return !m_stretch && hasPicture() ? m_image.size() : QSize(0, 0);
}

QRect PictureBox::pictureRect() const {
    if (!hasPicture())
        return {};
    QSize size = m_image.size();
    if (m_stretch)
        size.scale(this->size(), Qt::KeepAspectRatio);
    const int x = std::max(0, (width() - size.width()) / 2);
    const int y = std::max(0, (height() - size.height()) / 2);
    return {QPoint(x, y), size};
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (!hasPicture())
        return;
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    QPainter p(this);
    if (target.size() == m_image.size()) {
        p.drawImage(target.topLeft(), m_image);
        return;
    }
    if (m_scaled.size() != target.size())
        m_scaled = m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(target.topLeft(), m_scaled);
}

#include "moc_picturebox.cpp"
