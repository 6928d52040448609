#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QTranslator>

// A catalogue for one context, given as source text → translation, installed while it exists: what a
// window shows when its texts are translated, without a .qm file.
class ContextTranslator : public QTranslator
{
public:
    ContextTranslator(QByteArray context, QMap<QByteArray, QString> texts)
        : m_context(std::move(context)), m_texts(std::move(texts))
    {
        QCoreApplication::installTranslator(this);
    }
    ~ContextTranslator() override { QCoreApplication::removeTranslator(this); }

    QString translate(const char* context, const char* source, const char*, int) const override
    {
        return m_context == context ? m_texts.value(source) : QString();
    }
    bool isEmpty() const override { return false; }

private:
    QByteArray m_context;
    QMap<QByteArray, QString> m_texts;
};
