#pragma once
// Sets an environment variable for the life of the object, then puts back
// what was there (or its absence).
#include <QByteArray>
#include <QtGlobal>

class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char *name)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_saved(qgetenv(name)) {}
    ~ScopedEnvironment() {
        if (m_wasSet)
            qputenv(m_name, m_saved);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    void set(const QByteArray &value) { qputenv(m_name, value); }
    void unset() { qunsetenv(m_name); }

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_saved;
};
