// For bench/sound_latency.py: a bare window that plays the pick-up sound on each Up key, through Qt
// Multimedia's QSoundEffect or through the program's own libcanberra player, to time the two the same way.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QSoundEffect>
#include <QUrl>
#include <QWidget>
#include <cstring>
#include <memory>

#include "platform/canberra/CanberraSoundPlayer.h"
#include "platform/canberra/SoundShapes.h"

namespace {

class Probe : public QWidget {
public:
    explicit Probe(bool canberra) {
        if (canberra) {
            player_ = std::make_unique<quorrel::CanberraSoundPlayer>();
            player_->SetVolume(60);
            return;
        }
        // QSoundEffect loads its file once, asynchronously; each play reuses the decoded sample.
        const std::vector<char> wave = quorrel::WaveFile(quorrel::SoundSamples(quorrel::Sound::PickUp));
        const QString path = QDir::temp().filePath("quorrel-probe-pick-up.wav");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(wave.data(), static_cast<qint64>(wave.size()));
        file.close();
        effect_.setSource(QUrl::fromLocalFile(path));
        effect_.setVolume(0.6f);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Up) return QWidget::keyPressEvent(event);
        if (player_) player_->Play(quorrel::Sound::PickUp);
        else effect_.play();
    }

private:
    std::unique_ptr<quorrel::CanberraSoundPlayer> player_;
    QSoundEffect effect_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool canberra = argc > 1 && std::strcmp(argv[1], "--canberra") == 0;
    Probe probe(canberra);
    probe.setWindowTitle(canberra ? "Sound probe: libcanberra" : "Sound probe: QSoundEffect");
    probe.resize(320, 200);
    probe.show();
    return QApplication::exec();
}
