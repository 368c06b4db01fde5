#pragma once

#include "core/Localized.h"
#include "core/credentials/SharedData.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "tests/support/fakeservice/FakeService.h"

#include <gtest/gtest.h>

// Alice's account on the fake service, which the application's configuration points at, and
// her credentials in SharedData; the panes and log lines of the test recorded, in English.
class ServiceTest : public ::testing::Test
{
protected:
    static inline const QString Password = QStringLiteral("zebra-Quartz-91!");

    ServiceTest()
    {
        service.exportEndpoints();
        Localized::setLanguage(QStringLiteral("en"));
        SharedData::sharedManager()->setUserName(QStringLiteral("alice"));
        SharedData::sharedManager()->setPassword(Password);
    }
    ~ServiceTest() override
    {
        SharedData::sharedManager()->setUserName(std::nullopt);
        SharedData::sharedManager()->setPassword(std::nullopt);
        Localized::setLanguage(QString());
    }

    static QString text(const char *key) { return Localized::string(QString::fromLatin1(key)); }

    FakeService service;
    FakeAccount &alice = service.addAccount("alice", Password.toStdString(), "s7");
    RecordingErrorPresenter presenter;
    LogCapture log;
};
