#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

// Frames of a simple RIFF AVI: uncompressed 8-bit (palette), 24-bit or 32-bit
// video, or 8-bit run-length coded. Anything else, or a damaged file, is refused.
struct AviClip {
    QVector<QImage> frames;
    int frameMs = 100;
    bool isNull() const { return frames.isEmpty(); }
};
// Parses the bytes; a refused file gives an empty clip (error text in *error).
AviClip ParseAvi(const QByteArray &data, QString *error = nullptr);

// The progress animation: plays a clip in a loop, centred in its area. A file that
// is missing or cannot be read leaves the area empty and raises nothing.
class Animation : public QWidget {
    Q_OBJECT
public:
    explicit Animation(QWidget *parent = nullptr);
    // Loads the file; false (and an empty area) when it cannot be used.
    bool Open(const QString &path);
    // Starts the loop (Open already plays when AutoPlay is on).
    void Play();
    void Stop();
    void Close();
    bool AutoPlay() const { return m_autoPlay; }
    void setAutoPlay(bool on) { m_autoPlay = on; }
    bool IsPlaying() const { return m_timer.isActive(); }
    int FrameCount() const { return m_clip.frames.size(); }
    int CurrentFrame() const { return m_frame; }
    int FrameInterval() const { return m_clip.frameMs; }
    QImage FrameImage(int index) const { return m_clip.frames.value(index); }
    QSize sizeHint() const override;

signals:
    void FrameShown(int index);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    void advance();
    AviClip m_clip;
    QTimer m_timer;
    int m_frame = 0;
    bool m_autoPlay = true;
};
