#pragma once

#include "common/Dialogs.h"

#include <QList>

// Answers every dialog of the program during a test and keeps what was asked.
class DialogRecorder
{
public:
    explicit DialogRecorder(QString answer = QStringLiteral("yes"))
        : m_answer(std::move(answer))
    {
        Dialogs::setHandler([this](const Dialogs::Request &r) {
            m_requests.append(r);
            return m_answer;
        });
    }
    ~DialogRecorder() { Dialogs::clearHandler(); }
    DialogRecorder(const DialogRecorder &) = delete;
    DialogRecorder &operator=(const DialogRecorder &) = delete;

    void setAnswer(const QString &answer) { m_answer = answer; }
    const QList<Dialogs::Request> &requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

private:
    QString m_answer;
    QList<Dialogs::Request> m_requests;
};
