#pragma once

#include <QString>

#include <optional>

class DataModule;

// The questionnaire state of a test in PUNCT_TREATMENT (CODE_TEST, CODE_CLIENT, TREATMENT,
// COMMENT): one row per client and test. The client code is matched whole and without case,
// and every value goes to the base as a bound parameter.
class PunctTreatmentStore
{
public:
    // The stored state string; no value when the test has no row. False with a message when
    // the base cannot be read.
    static bool load(DataModule &data, const QString &codeClient, int codeTest,
                     std::optional<QString> *state, QString *error = nullptr);
    // Writes the state into the test's row, or a new row with an empty comment, and commits
    // at once. Nothing is written for a test without client or key.
    static bool save(DataModule &data, const QString &codeClient, int codeTest,
                     const QString &state, QString *error = nullptr);
};
