#include "service/CurlHandlePool.h"

#include <curl/curl.h>

#include <mutex>
#include <new>
#include <vector>

namespace {

// Idle handles beyond this many are closed: one per worker thread is the usual need.
constexpr size_t MaxIdleHandles = 4;

class Pool
{
public:
    Pool() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~Pool()
    {
        for (CURL *handle : m_idle)
            curl_easy_cleanup(handle);
        curl_global_cleanup();
    }

    CURL *take()
    {
        {
            std::lock_guard lock(m_mutex);
            if (!m_idle.empty()) {
                CURL *handle = m_idle.back();
                m_idle.pop_back();
                curl_easy_reset(handle);
                return handle;
            }
        }
        CURL *handle = curl_easy_init();
        if (!handle)
            throw std::bad_alloc();
        return handle;
    }

    void give(CURL *handle)
    {
        std::unique_lock lock(m_mutex);
        if (m_idle.size() < MaxIdleHandles) {
            m_idle.push_back(handle);
            return;
        }
        lock.unlock();
        curl_easy_cleanup(handle);
    }

private:
    std::mutex m_mutex;
    std::vector<CURL *> m_idle;
};

Pool &pool()
{
    static Pool instance;
    return instance;
}

} // namespace

CurlHandlePool::Lease::~Lease()
{
    pool().give(m_handle);
}

CurlHandlePool::Lease CurlHandlePool::acquire()
{
    return Lease(pool().take());
}
