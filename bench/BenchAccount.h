#pragma once

#include "core/credentials/SharedData.h"
#include "tests/support/fakeservice/FakeService.h"

// Alice's account on the fake note service over loopback, which the configuration points at,
// and her credentials in SharedData, as a run reads them.
class BenchAccount
{
public:
    BenchAccount()
    {
        service.exportEndpoints();
        SharedData::sharedManager()->setUserName(QStringLiteral("alice"));
        SharedData::sharedManager()->setPassword(QStringLiteral("bench password"));
    }
    ~BenchAccount()
    {
        SharedData::sharedManager()->setUserName(std::nullopt);
        SharedData::sharedManager()->setPassword(std::nullopt);
    }
    BenchAccount(const BenchAccount &) = delete;
    BenchAccount &operator=(const BenchAccount &) = delete;

    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "bench password");
};
