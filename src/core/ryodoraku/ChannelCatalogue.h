#pragma once

#include "ChannelEntry.h"
#include "records/Channels.h"

#include <QString>

#include <array>

class IniFile;

// The channel catalogue Dots24.INI beside the executable: sections "1" to "24", section =
// channel index + 1. A missing file or key gives the defaults of ChannelEntry.
class ChannelCatalogue
{
public:
    ChannelCatalogue() = default;

    static QString defaultPath(); // Dots24.INI in the install folder, whatever its case
    static ChannelCatalogue load(const QString &path = defaultPath());
    static ChannelCatalogue fromIni(const IniFile &ini);

    bool existed() const { return m_existed; }
    const ChannelEntry &entry(int channel) const { return m_entries.at(size_t(channel)); }
    ChannelEntry &entry(int channel) { return m_entries.at(size_t(channel)); }

    // The TESTS column index (canonical order) of a channel's `id`; -1 when the id is empty or
    // names no channel, with a message saying which section to correct.
    int columnOf(int channel, QString *error = nullptr) const;

private:
    std::array<ChannelEntry, Channels::Count> m_entries{};
    bool m_existed = false;
};
