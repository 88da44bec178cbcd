#include "host/window/alarm_sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QSettings>

#include "host/window/core/alarm_tone.h"
#include "host/window/sound/tone_output.h"

namespace host {

namespace {

constexpr const char* MUTE_KEY = "view/mute_alarm";

// Where the sound library may be: beside the program (a build), in the
// installed library folder, or one folder up (the tests of a build).
QStringList sound_library_places()
{
    const QDir here(QCoreApplication::applicationDirPath());
    return {here.filePath(EMS_SOUND_LIBRARY), here.filePath(EMS_SOUND_LIBRARY_INSTALLED),
            here.filePath(QStringLiteral("../") + EMS_SOUND_LIBRARY)};
}

} // namespace

AlarmSound::AlarmSound(QObject* parent) : QObject(parent), muted_(QSettings().value(MUTE_KEY, false).toBool()) {}

AlarmSound::~AlarmSound()
{
    output_.reset();
    if (library_) library_->unload();
}

void AlarmSound::update()
{
    const bool wanted = alarm_tone_wanted(muted_);
    if (wanted == requested_) return;
    requested_ = wanted;
    if (wanted) start_output();
    else stop_output();
}

void AlarmSound::set_muted(bool on)
{
    muted_ = on;
    QSettings().setValue(MUTE_KEY, on);
    update();
}

// Loads the sound library and opens the output; false when either fails.
bool AlarmSound::open_output()
{
    library_ = std::make_unique<QLibrary>();
    QString tried;
    for (const QString& place : sound_library_places()) {
        library_->setFileName(place);
        if (library_->load()) break;
        tried += "\n  " + library_->errorString();
    }
    const auto open = library_->isLoaded()
                          ? reinterpret_cast<decltype(&ems_open_tone_output)>(library_->resolve(EMS_OPEN_TONE_OUTPUT))
                          : nullptr;
    if (open == nullptr) {
        if (library_->isLoaded()) tried += "\n  " + library_->errorString();
        qWarning("The alarm tone stays silent: its sound library could not be loaded:%s", qPrintable(tried));
        return false;
    }
    output_.reset(open(ALARM_TONE_RATE, alarm_tone_samples));
    return output_ != nullptr;
}

void AlarmSound::start_output()
{
    if (no_output_) return;
    if (!output_ && !open_output()) {
        no_output_ = true;
        return;
    }
    output_->start();
}

void AlarmSound::stop_output()
{
    if (output_) output_->stop();
}

} // namespace host
