#pragma once

#include "UserStore.h"

class FakeService;

// The fake's user store: the version check and authentication against its accounts.
class FakeUserStoreHandler : public edam::UserStoreIf
{
public:
    explicit FakeUserStoreHandler(FakeService &service) : m_service(service) {}

    bool checkVersion(const std::string &clientName, int16_t edamVersionMajor,
                      int16_t edamVersionMinor) override;
    // Unknown user: error 8 with "username"; wrong password: error 8 with "password".
    void authenticate(edam::EDAMAuthenticationResult &result, const std::string &username,
                      const std::string &password, const std::string &consumerKey,
                      const std::string &consumerSecret) override;

private:
    FakeService &m_service;
};
