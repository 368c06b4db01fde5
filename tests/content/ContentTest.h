#pragma once

#include "content/ContentTemplate.h"
#include "content/DatePattern.h"
#include "core/Clock.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

// Stands every test in a fixed time zone and restores the template, the locale and the zone
// the codecs use, whatever the test changed.
class ContentTest : public ::testing::Test
{
protected:
    void SetUp() override { Clock::setTimeZone(QTimeZone("Europe/Madrid")); }
    void TearDown() override
    {
        Clock::setTimeZone(QTimeZone());
        DatePattern::setSystemLocale(std::nullopt);
        ContentTemplate::setPath(QString());
    }

    static QString model() { return ContentTemplate::read().value_or(QString()); }

    // What the service checks first: the content is one well-formed XML document.
    static bool isWellFormed(const QString &content)
    {
        QXmlStreamReader xml(content);
        while (!xml.atEnd())
            xml.readNext();
        return !xml.hasError();
    }
};
