#include "store/Transaction.h"

#include "helpers/AppError.h"

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_connection.rollback();
    } catch (const AppError&) {
        // The connection is gone; nothing was committed either.
    }
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}
