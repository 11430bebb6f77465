#include "ErrorProtocol.h"

#include "modDataSQL.h"
#include "modFehlerHandler.h"

#include "platform/vb/Conversions.h"

namespace core {

Procedure::Procedure(QString name, ErrorVariant variant)
    : mName(std::move(name)), mVariant(variant)
{
}

void Procedure::setHandler(std::function<ErrorAction(const vb::RuntimeError &)> handler)
{
    mHandler = std::move(handler);
}

vb::RuntimeError Procedure::outOfMemory()
{
    return vb::RuntimeError(vb::err::OutOfMemory, vb::standardDescription(vb::err::OutOfMemory));
}

std::optional<bool> Procedure::afterFailure(const vb::RuntimeError &e)
{
    switch (mHandler ? mHandler(e) : ErrorAction::Default) {
    case ErrorAction::Retry:
        return std::nullopt;
    case ErrorAction::Resume:
        return true;
    case ErrorAction::Leave:
        mLeft = true;
        return false;
    case ErrorAction::Default:
        break;
    }
    switch (mVariant) {
    case ErrorVariant::Dialog: {
        const vb::Variant answer = HandleError(e.number(), e.description(), mName);
        const int button = answer.get<std::int16_t>() ? *answer.get<std::int16_t>() : 0;
        if (button == 4)
            return std::nullopt;
        if (button == 5)
            return true;
        mLeft = true;
        return false;
    }
    case ErrorVariant::LogOnly:
        LogError(e.number(), e.description(), mName);
        mLeft = true;
        return false;
    case ErrorVariant::LogAndContinue:
        if (mZeroTimeStamp)
            WriteDebugLog(e.number(), e.description(), mName, vb::Date());
        else
            LogError(e.number(), e.description(), mName);
        return true;
    case ErrorVariant::Silent:
        return true;
    }
    return true;
}

bool Procedure::rowStep(const std::function<void()> &step)
{
    bool rowFault = false;
    const bool ran = (*this)([&] {
        try {
            step();
        } catch (const vb::RuntimeError &e) {
            const int n = e.number();
            if (n != vb::err::TypeMismatch && n != vb::err::InvalidUseOfNull &&
                n != vb::err::Overflow)
                throw;
            LogError(n, e.description(), mName);
            rowFault = true;
        }
    });
    return ran && !rowFault;
}

} // namespace core
