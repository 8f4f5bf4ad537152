#pragma once

#include "store/Connection.h"

// Everything done while it lives is one transaction; it is undone unless commit() is called.
class Transaction
{
public:
    explicit Transaction(Connection& c) : m_connection(c) { m_connection.begin(); }
    ~Transaction();
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};
