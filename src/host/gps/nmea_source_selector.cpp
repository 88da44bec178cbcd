#include "host/gps/nmea_source_selector.h"

namespace host {

NmeaSourceSelector::~NmeaSourceSelector()
{
    for (auto& s : sources_) s->disconnect(this);
    while (!sources_.empty()) sources_.pop_back();
}

int NmeaSourceSelector::add(std::unique_ptr<NmeaSource> source)
{
    NmeaSource* s = source.get();
    connect(s, &NmeaSource::state_changed, this, [this] { emit changed(); });
    connect(s, &NmeaSource::error_occurred, this, [this](const QString& m) { emit error_occurred(m); });
    sources_.push_back(std::move(source));
    return int(sources_.size()) - 1;
}

NmeaSource* NmeaSourceSelector::source(int index) const
{
    return index >= 0 && index < count() ? sources_[size_t(index)].get() : nullptr;
}

NmeaSource* NmeaSourceSelector::busy() const
{
    for (const auto& s : sources_)
        if (s->is_busy()) return s.get();
    return nullptr;
}

bool NmeaSourceSelector::choose(int index)
{
    if (!source(index) || busy()) return false;
    if (index != chosen_) {
        chosen_ = index;
        emit changed();
    }
    return true;
}

bool NmeaSourceSelector::start()
{
    NmeaSource* chosen = source(chosen_);
    if (!chosen) return false;
    NmeaSource* running = busy();
    if (running && running != chosen) return false;
    chosen->start();
    return true;
}

void NmeaSourceSelector::stop()
{
    if (NmeaSource* s = busy()) s->stop();
}

} // namespace host
