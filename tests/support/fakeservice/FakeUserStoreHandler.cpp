#include "tests/support/fakeservice/FakeUserStoreHandler.h"

#include "core/Clock.h"
#include "service/EDAMUserException.h"
#include "tests/support/fakeservice/FakeService.h"

namespace {

constexpr int64_t TokenLifetime = 365LL * 24 * 3600 * 1000;

} // namespace

bool FakeUserStoreHandler::checkVersion(const std::string &clientName, int16_t edamVersionMajor,
                                        int16_t edamVersionMinor)
{
    return m_service.versionAccepted(clientName, edamVersionMajor, edamVersionMinor);
}

void FakeUserStoreHandler::authenticate(edam::EDAMAuthenticationResult &result, const std::string &username,
                                        const std::string &password, const std::string &, const std::string &)
{
    FakeAccount *account = m_service.accountNamed(username);
    if (!account)
        throw EDAMUserException(FakeAccount::InvalidAuth, "username");
    if (!account->hasPassword(password))
        throw EDAMUserException(FakeAccount::InvalidAuth, "password");

    const int64_t now = Clock::nowMilliseconds();
    result.__set_currentTime(now);
    result.__set_authenticationToken(m_service.newToken(*account));
    result.__set_expiration(now + TokenLifetime);
    result.__set_user(account->user());
    edam::EDAMPublicUserInfo info;
    info.__set_userId(result.user.id);
    info.__set_shardId(result.user.shardId);
    result.__set_publicUserInfo(info);
}
