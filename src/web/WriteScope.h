#pragma once

#include "store/Transaction.h"
#include "web/RequestContext.h"
#include "web/WebServices.h"

#include <mutex>

// One write of a request: its turn on the database file, and one transaction for the row,
// its request id and its audit row together; undone unless committed.
class WriteScope
{
public:
    explicit WriteScope(RequestContext& context)
        : m_turn(context.services.database.writeTurn()), m_transaction(context.db())
    {
    }
    void commit() { m_transaction.commit(); }

private:
    WebDatabase::Turn m_turn;
    Transaction m_transaction;
};
