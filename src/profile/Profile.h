#pragma once
// A profile: the settings record in a form people can read, edit and diff.
//
//   {
//     "version": 1,
//     "fields": { "BaudRateIndex": 6, "GprsApn": "internet", "AlarmNumbers": [...], ... },
//     "remnants": { "ExternalTexts[5]": "4C6F6E67" },
//     "lengthBytes": { "FtpHost": 200 }
//   }
//
// "fields" names every field of the record (see ProfileValues.h for how each
// kind is written); an array lists its elements 1..count in order. The two
// optional sections keep the bytes a short string holds beyond its text, so
// that exporting a record and importing the profile gives back the same 4096
// bytes, whatever the record held.
//
// A profile may name only some fields: importing it changes just those of a
// base record. In an array, null keeps the base's element.
#include "profile/ProfileEntries.h"
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace zx::profile {

inline constexpr int kProfileVersion = 1;

QJsonObject exportProfile(const settings::ConfigRecord &record);
// UTF-8, indented, keys in alphabetical order, ending in a newline.
QByteArray exportProfileText(const settings::ConfigRecord &record);

struct ImportResult {
    settings::ConfigRecord record; // the base, changed when the import succeeded
    QString error;                 // one line naming the field; empty on success
    EntryNames named;              // the entries the profile gave

    bool ok() const { return error.isEmpty(); }
};

// All or nothing: on any error the base comes back unchanged.
ImportResult importProfile(const QJsonObject &profile, const settings::ConfigRecord &base);
ImportResult importProfileText(const QByteArray &json, const settings::ConfigRecord &base);

} // namespace zx::profile
