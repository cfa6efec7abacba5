#include "platform/Animation.h"
#include "core/FileIO.h"
#include <QFile>
#include <QPainter>
#include <QtEndian>

namespace {
constexpr int kMaxSide = 4096;
constexpr int kMaxFrames = 10000;
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxTotalPixels = 64 * 1024 * 1024; // all frames together

quint32 u32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint32>(d.constData() + at); }
quint16 u16(const QByteArray &d, qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); }
qint32 s32(const QByteArray &d, qsizetype at) { return qFromLittleEndian<qint32>(d.constData() + at); }

struct Format {
    int width = 0, height = 0, bits = 0, compression = -1;
    bool bottomUp = true;
    QVector<QRgb> palette;
    quint32 usPerFrame = 100000;
};

bool fail(QString *error, const char *why)
{
    if (error)
        *error = QString::fromLatin1(why);
    return false;
}

// BITMAPINFOHEADER of the video stream.
bool readFormat(const QByteArray &d, qsizetype at, quint32 size, Format &f, QString *error)
{
    if (size < 40)
        return fail(error, "short stream format");
    const qint32 h = s32(d, at + 8);
    f.width = s32(d, at + 4);
    f.height = h < 0 ? -h : h;
    f.bottomUp = h > 0;
    f.bits = u16(d, at + 14);
    f.compression = int(u32(d, at + 16));
    if (f.width <= 0 || f.height <= 0 || f.width > kMaxSide || f.height > kMaxSide)
        return fail(error, "bad frame size");
    const quint32 hdr = u32(d, at);
    if (hdr < 40 || hdr > size)
        return fail(error, "bad header size");
    if (f.bits == 8) {
        quint32 used = u32(d, at + 32);
        if (used == 0 || used > 256)
            used = 256;
        const qsizetype pal = at + hdr;
        const quint32 avail = (size - hdr) / 4;
        used = std::min(used, avail);
        f.palette.resize(256, qRgb(0, 0, 0));
        for (quint32 i = 0; i < used; ++i) {
            const auto *p = reinterpret_cast<const uchar *>(d.constData() + pal + 4 * i);
            f.palette[int(i)] = qRgb(p[2], p[1], p[0]);
        }
    }
    const bool rgb = f.compression == 0 && (f.bits == 8 || f.bits == 24 || f.bits == 32);
    const bool rle8 = f.compression == 1 && f.bits == 8;
    if (!rgb && !rle8)
        return fail(error, "unsupported video format");
    return true;
}

QImage decodeRgb(const QByteArray &d, qsizetype at, quint32 size, const Format &f)
{
    const qsizetype stride = ((qsizetype(f.width) * f.bits + 31) / 32) * 4;
    if (qsizetype(size) < stride * f.height)
        return {};
    QImage img(f.width, f.height, QImage::Format_RGB32);
    for (int y = 0; y < f.height; ++y) {
        const int srcRow = f.bottomUp ? f.height - 1 - y : y;
        const auto *src = reinterpret_cast<const uchar *>(d.constData() + at + srcRow * stride);
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < f.width; ++x) {
            if (f.bits == 8)
                dst[x] = f.palette[src[x]];
            else if (f.bits == 24)
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            else
                dst[x] = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
        }
    }
    return img;
}

// Run-length coded 8-bit frame; 'prev' holds the frame before (skipped pixels keep it).
QImage decodeRle8(const QByteArray &d, qsizetype at, quint32 size, const Format &f, const QImage &prev)
{
    QVector<uchar> idx(qsizetype(f.width) * f.height, 0);
    QImage img = prev.isNull() ? QImage(f.width, f.height, QImage::Format_RGB32) : prev.copy();
    if (prev.isNull())
        img.fill(f.palette.value(0));
    QVector<bool> set(idx.size(), false);
    const auto *p = reinterpret_cast<const uchar *>(d.constData() + at);
    const auto *end = p + size;
    int x = 0, y = 0; // y counts rows in file order
    auto put = [&](uchar v) {
        if (x < f.width && y < f.height) {
            idx[y * f.width + x] = v;
            set[y * f.width + x] = true;
        }
        ++x;
    };
    while (p + 1 < end) {
        const uchar n = p[0], v = p[1];
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n; ++i)
                put(v);
        } else if (v == 0) {           // end of line
            x = 0;
            ++y;
        } else if (v == 1) {           // end of bitmap
            break;
        } else if (v == 2) {           // delta
            if (p + 1 >= end)
                break;
            x += p[0];
            y += p[1];
            p += 2;
        } else {                       // v literal pixels, padded to a word
            if (end - p < v)
                break;
            for (int i = 0; i < v; ++i)
                put(p[i]);
            p += v + (v & 1);
        }
        if (y >= f.height)
            break;
    }
    for (int row = 0; row < f.height; ++row) {
        const int outRow = f.bottomUp ? f.height - 1 - row : row;
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(outRow));
        for (int col = 0; col < f.width; ++col)
            if (set[row * f.width + col])
                dst[col] = f.palette[idx[row * f.width + col]];
    }
    return img;
}
} // namespace

AviClip ParseAvi(const QByteArray &d, QString *error)
{
    AviClip clip;
    if (d.size() < 12 || d.left(4) != "RIFF" || d.mid(8, 4) != "AVI ") {
        fail(error, "not an AVI file");
        return clip;
    }
    Format f;
    bool haveFormat = false, inVideo = false;
    QByteArray videoId; // "00" of "00db"/"00dc": the stream number of the video
    int streamNo = -1;
    // Walk chunks, descending into LISTs; every length is checked against the data.
    struct Range { qsizetype from, to; };
    QVector<Range> stack{{12, std::min<qsizetype>(d.size(), 8 + qsizetype(u32(d, 4)))}};
    while (!stack.isEmpty()) {
        Range &r = stack.last();
        if (r.from + 8 > r.to) {
            stack.removeLast();
            continue;
        }
        const QByteArray id = d.mid(r.from, 4);
        const quint32 size = u32(d, r.from + 4);
        const qsizetype body = r.from + 8;
        if (qsizetype(size) > r.to - body) {
            fail(error, "chunk runs past the end");
            return {};
        }
        r.from = body + size + (size & 1);
        if (id == "LIST" || id == "RIFF") {
            if (size >= 4) {
                if (d.mid(body, 4) == "strl")
                    ++streamNo;
                stack.append({body + 4, body + size});
            }
            continue;
        }
        if (id == "avih" && size >= 4) {
            f.usPerFrame = u32(d, body);
        } else if (id == "strh" && size >= 8) {
            inVideo = d.mid(body, 4) == "vids";
            if (inVideo && videoId.isEmpty())
                videoId = QByteArray::number(std::max(0, streamNo)).rightJustified(2, '0');
        } else if (id == "strf" && inVideo && !haveFormat) {
            if (!readFormat(d, body, size, f, error))
                return {};
            haveFormat = true;
        } else if (haveFormat && id.size() == 4 && id.left(2) == videoId && (id.mid(2) == "db" || id.mid(2) == "dc")) {
            // Run-length frames can be tiny on disk; bound what they decode to.
            if (clip.frames.size() >= kMaxFrames || qint64(clip.frames.size() + 1) * f.width * f.height > kMaxTotalPixels)
                break;
            QImage img = f.compression == 1 ? decodeRle8(d, body, size, f, clip.frames.isEmpty() ? QImage() : clip.frames.last())
                                            : decodeRgb(d, body, size, f);
            if (img.isNull()) {
                fail(error, "short frame");
                return {};
            }
            clip.frames.append(img);
        }
    }
    if (clip.frames.isEmpty()) {
        fail(error, "no frames");
        return {};
    }
    // Keep the pace sensible whatever the header says.
    clip.frameMs = std::clamp(int(f.usPerFrame / 1000), 15, 2000);
    return clip;
}

Animation::Animation(QWidget *parent) : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &Animation::advance);
}

bool Animation::Open(const QString &path)
{
    Close();
    QByteArray bytes;
    if (!ReadFileWhole(path, kMaxFileBytes, bytes))
        return false;
    m_clip = ParseAvi(bytes);
    if (m_clip.isNull())
        return false;
    update();
    if (m_autoPlay)
        Play();
    return true;
}

void Animation::Play()
{
    if (m_clip.isNull())
        return;
    m_timer.start(m_clip.frameMs);
}

void Animation::Stop() { m_timer.stop(); }

void Animation::Close()
{
    m_timer.stop();
    m_clip = AviClip();
    m_frame = 0;
    update();
}

void Animation::advance()
{
    if (m_clip.isNull())
        return;
    m_frame = (m_frame + 1) % m_clip.frames.size();
    update();
    emit FrameShown(m_frame);
}

QSize Animation::sizeHint() const
{
    return m_clip.isNull() ? QSize(64, 64) : m_clip.frames.first().size();
}

void Animation::paintEvent(QPaintEvent *)
{
    if (m_clip.isNull())
        return;
    QPainter p(this);
    const QImage &img = m_clip.frames[m_frame];
    QSize s = img.size();
    if (s.width() > width() || s.height() > height())
        s.scale(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
    p.drawImage(target, img);
}
