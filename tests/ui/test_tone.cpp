#include "base/tone.h"
#include "gui/desktop/tone_player.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cmath>
#include <thread>

#ifdef LARK_HAVE_PULSE
#include <pulse/error.h>
#include <pulse/simple.h>
#endif

using namespace lark;
using namespace lark::ui;

namespace {

constexpr int kRate = 44100;

// Where a tone sounds in a recording, and its pitch from the zero crossings in that span.
struct Measured
{
    double seconds = 0;
    double hertz = 0;
};

Measured measure(const std::vector<int16_t> &samples, int threshold)
{
    auto loud = [threshold](int16_t s) { return std::abs(int(s)) > threshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    if (first >= last)
        return {};
    int crossings = 0;
    for (auto it = first + 1; it != last; ++it)
        crossings += (*(it - 1) < 0) != (*it < 0);
    const double seconds = double(last - first) / kRate;
    return {seconds, crossings / 2.0 / seconds};
}

#ifdef LARK_HAVE_PULSE
// A PulseAudio of the test's own with one null sink "t", ended with the test. With rewinds the
// sink buffers seconds, as some desktops' do.
class PrivateSoundServer
{
public:
    explicit PrivateSoundServer(bool rewinds = false)
        : m_rewinds(rewinds)
    { }
    ~PrivateSoundServer()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }
    QByteArray address() const { return QFile::encodeName("unix:" + m_dir.filePath("native")); }
    bool start()
    {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        if (pulseaudio.isEmpty())
            return false;
        QFile config(m_dir.filePath("pa.conf"));
        config.open(QIODevice::WriteOnly);
        config.write(QByteArray("load-module module-null-sink sink_name=t rate=44100 channels=1")
                     + (m_rewinds ? "\n" : " norewinds=1\n")
                     + "load-module module-native-protocol-unix auth-anonymous=1 socket="
                     + QFile::encodeName(m_dir.filePath("native")) + "\n");
        config.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.path());
        environment.insert("XDG_RUNTIME_DIR", m_dir.path());
        m_process.setProcessEnvironment(environment);
        m_process.start(pulseaudio,
                        {"-n", "-F", config.fileName(), "--daemonize=no", "--exit-idle-time=-1",
                         "--disallow-exit", "--use-pid-file=no", "--enable-memfd=no"});
        return m_process.waitForStarted()
            && QTest::qWaitFor([this] { return QFile::exists(m_dir.filePath("native")); });
    }

private:
    bool m_rewinds;
    QTemporaryDir m_dir;
    QProcess m_process;
};

// Records the null sink's monitor on a thread of its own until stopped.
class MonitorRecorder
{
public:
    explicit MonitorRecorder(const QByteArray &address)
    {
        const pa_sample_spec spec {PA_SAMPLE_S16LE, kRate, 1};
        const bool connected = QTest::qWaitFor([&] {
            m_stream = pa_simple_new(address.constData(), "tone-test", PA_STREAM_RECORD,
                                     "t.monitor", "record", &spec, nullptr, nullptr, &m_error);
            return m_stream != nullptr;
        });
        if (connected)
            m_reader = std::thread([this] { read(); });
    }
    ~MonitorRecorder()
    {
        stop();
        if (m_stream)
            pa_simple_free(m_stream);
    }
    bool isRecording() const { return m_stream != nullptr; }
    const char *error() const { return pa_strerror(m_error); }
    std::vector<int16_t> stop()
    {
        m_recording = false;
        if (m_reader.joinable())
            m_reader.join();
        return m_samples;
    }

private:
    void read()
    {
        int16_t chunk[441];
        while (m_recording && pa_simple_read(m_stream, chunk, sizeof chunk, &m_error) == 0)
            m_samples.insert(m_samples.end(), std::begin(chunk), std::end(chunk));
    }

    pa_simple *m_stream = nullptr;
    int m_error = 0;
    std::atomic<bool> m_recording {true};
    std::vector<int16_t> m_samples;
    std::thread m_reader;
};
#endif

} // namespace

class TestTone : public QObject
{
    Q_OBJECT

private slots:
    void sineHasPitchLengthAndQuietEdges();
    void bellWhenNoSoundServerAnswers();
    void soundServerPlaysWholeTone();
    void stopCutsToneShort_data();
    void stopCutsToneShort();
};

void TestTone::sineHasPitchLengthAndQuietEdges()
{
    const std::vector<int16_t> tone = sineTone(500, 300, kRate);
    QCOMPARE(tone.size(), size_t(kRate * 3 / 10));
    QVERIFY(std::abs(tone.front()) < 100 && std::abs(tone.back()) < 100);
    const Measured m = measure(tone, 1000);
    QVERIFY2(std::abs(m.hertz - 500) < 5, qPrintable(QString::number(m.hertz)));
    QVERIFY(std::abs(m.seconds - 0.3) < 0.01);
}

void TestTone::bellWhenNoSoundServerAnswers()
{
    QTemporaryDir dir;
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + dir.filePath("none")));
    // From a worker thread, as the alert threads call it.
    ToneOutput output = ToneOutput::SoundServer;
    QElapsedTimer clock;
    clock.start();
    std::thread worker([&output] { output = playTone(500, 300); });
    worker.join();
    const qint64 elapsed = clock.elapsed();
    qunsetenv("PULSE_SERVER");
    QCOMPARE(output, ToneOutput::Bell);
    QVERIFY2(elapsed >= 300 && elapsed < 1000, qPrintable(QString::number(elapsed)));
    QCoreApplication::processEvents(); // the queued bell rings without harm
}

void TestTone::soundServerPlaysWholeTone()
{
#ifndef LARK_HAVE_PULSE
    QSKIP("built without PulseAudio");
#else
    PrivateSoundServer server;
    if (!server.start())
        QSKIP("no pulseaudio to start a private sound server with");
    qputenv("PULSE_SERVER", server.address());
    MonitorRecorder recorder(server.address());
    QVERIFY2(recorder.isRecording(), recorder.error());

    QElapsedTimer clock;
    clock.start();
    ToneOutput output = ToneOutput::Bell;
    std::thread player([&output] { output = playTone(500, 300); });
    player.join();
    const qint64 elapsed = clock.elapsed();
    QTest::qWait(300);
    const Measured m = measure(recorder.stop(), 1000);
    qunsetenv("PULSE_SERVER");

    QCOMPARE(output, ToneOutput::SoundServer);
    QVERIFY2(elapsed >= 280 && elapsed < 1500, qPrintable(QString::number(elapsed)));
    QVERIFY2(std::abs(m.hertz - 500) < 10, qPrintable(QString::number(m.hertz)));
    QVERIFY2(std::abs(m.seconds - 0.3) < 0.03, qPrintable(QString::number(m.seconds)));
#endif
}

void TestTone::stopCutsToneShort_data()
{
    QTest::addColumn<bool>("soundServer");
    QTest::newRow("bell") << false;
    QTest::newRow("sound server buffering seconds") << true;
}

// A closing window stops the alert's tone; its thread is joined within a few milliseconds,
// however long the tone or the server's buffer.
void TestTone::stopCutsToneShort()
{
    QFETCH(bool, soundServer);
    QTemporaryDir dir;
    QByteArray address = QFile::encodeName("unix:" + dir.filePath("none"));
#ifdef LARK_HAVE_PULSE
    PrivateSoundServer server(true);
    if (soundServer) {
        if (!server.start())
            QSKIP("no pulseaudio to start a private sound server with");
        address = server.address();
    }
#else
    if (soundServer)
        QSKIP("built without PulseAudio");
#endif
    qputenv("PULSE_SERVER", address);
    std::atomic<bool> stop {false};
    std::atomic<bool> started {false};
    ToneOutput output = soundServer ? ToneOutput::Bell : ToneOutput::SoundServer;
    std::thread player([&] {
        output = playTone(500, 10000, [&] {
            started = true;
            return bool(stop);
        });
    });
    QVERIFY(QTest::qWaitFor([&] { return bool(started); }));
    QTest::qWait(100);
    QElapsedTimer clock;
    clock.start();
    stop = true;
    player.join();
    const qint64 elapsed = clock.elapsed();
    qunsetenv("PULSE_SERVER");
    QCOMPARE(output, soundServer ? ToneOutput::SoundServer : ToneOutput::Bell);
    QVERIFY2(elapsed < 50, qPrintable(QString::number(elapsed)));
}

QTEST_MAIN(TestTone)
#include "test_tone.moc"
