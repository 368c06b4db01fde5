#pragma once

#include <memory>

using CURL = void;

// Keeps libcurl easy handles between HTTP exchanges. A handle keeps its open connections (and
// TLS sessions) when it is returned, so the next exchange to the same server, on a new client
// as every service call makes, reuses the connection instead of opening one. A handle serves
// one thread at a time; libcurl does not support sharing connections across threads.
class CurlHandlePool
{
public:
    class Lease
    {
    public:
        explicit Lease(CURL *handle) : m_handle(handle) {}
        ~Lease();
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        CURL *handle() const { return m_handle; }

    private:
        CURL *m_handle;
    };

    // A handle with its options reset and its connections kept.
    static Lease acquire();

    CurlHandlePool() = delete;
};
