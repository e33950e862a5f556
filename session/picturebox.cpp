#include "picturebox.h"

#include "media/picture.h"

#include <QPainter>
#include <algorithm>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::setPicture(const QByteArray& bytes) {
    m_bytes = bytes;
    m_own = ::pictureSize(bytes);
    if (!m_own.isValid())
        m_bytes.clear();
    dropImage();
    updateGeometry();
    update();
}

void PictureBox::setStretch(bool stretch) {
    if (m_stretch == stretch)
        return;
    m_stretch = stretch;
    dropImage();
    updateGeometry();
    update();
}

void PictureBox::dropImage() {
    m_image = QImage();
    m_heldFor = QSize();
}

const QImage& PictureBox::image() const {
    // Drawn larger than its own size, a picture is scaled up while it is
    // painted, not held scaled up.
    QSize wanted = pictureRect().size();
    if (wanted.width() > m_own.width() || wanted.height() > m_own.height())
        wanted = m_own;
    if (wanted != m_heldFor) {
        m_image = wanted.isEmpty() ? QImage() : decodePicture(m_bytes, wanted);
        m_heldFor = wanted;
    }
    return m_image;
}

QSize PictureBox::minimumSizeHint() const {
    return !m_stretch && hasPicture() ? m_own : QSize(0, 0);
}

QRect PictureBox::pictureRect() const {
    if (!hasPicture())
        return {};
    QSize size = m_own;
    if (m_stretch)
        size.scale(this->size(), Qt::KeepAspectRatio);
    const int x = std::max(0, (width() - size.width()) / 2);
    const int y = std::max(0, (height() - size.height()) / 2);
    return {QPoint(x, y), size};
}

void PictureBox::paintEvent(QPaintEvent*) {
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    const QImage& shown = image();
    if (shown.isNull())
        return;
    QPainter p(this);
    if (target.size() != shown.size())
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, shown);
}

void PictureBox::hideEvent(QHideEvent* event) {
    dropImage();
    QWidget::hideEvent(event);
}

#include "moc_picturebox.cpp"
