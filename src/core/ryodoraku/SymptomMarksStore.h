#pragma once

#include <QString>

class ChannelMarks;
class DataModule;

// The symptom marks of a test in the SYMPTOMS table (CODE_CLIENT, CODE_TEST, DATA): one row
// per client and test. The client code is matched whole and without case, so the marks of
// client Q71 are never read or overwritten for client Q710.
class SymptomMarksStore
{
public:
    // Reads the row of the test into `marks`; without a row the marks stay as they are.
    // False with a message when the base cannot be read.
    static bool loadMarks(DataModule &data, const QString &codeClient, int codeTest,
                          ChannelMarks &marks, QString *error = nullptr);
    // Writes the marks into the test's row, or a new row, and commits at once. Nothing is
    // written for a test without client or key.
    static bool saveMarks(DataModule &data, const QString &codeClient, int codeTest,
                          const ChannelMarks &marks, QString *error = nullptr);
};
