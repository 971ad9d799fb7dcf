// Numeric replies: one case per reply, the bodies live in files by topic.

#include "irc/IRCUnit.h"

#include "ircproto/IRCNames.h"

void TIRCUnit::HandleNumericReply(const TIRCReceiveMessage& message)
{
    EndJoinWaitsNamedIn(message);
    int number = message.numeric;
    if (number >= 400 && number <= 599 && number != 403 && number != 422) {
        HandleErrorReply(message);
        return;
    }
    // clang-format off
    switch (number) {
    case 1: OnLoggedIn(message); PrintReplyParams(message); break;
    case 376: OnLoggedIn(message); PrintReplyParams(message); break;
    case 422: OnLoggedIn(message); PrintReplyParams(message); break;
    case 2: case 3: case 4: case 8: case 250: case 251: case 252: case 253: case 254: case 255: case 265: case 266:
    case 372: case 375: PrintReplyParams(message); break;
    case 5: OnISupportReply(message); break;
    case 221: OnUserModeReply(message); break;
    case 301: OnAwayReply(message); break;
    case 305: OnAwayStateReply(message, false); break;
    case 306: OnAwayStateReply(message, true); break;
    case 311: OnWhoisUserReply(message); break;
    case 312: OnWhoisServerReply(message); break;
    case 313: OnWhoisOperatorReply(message); break;
    case 314: OnWhowasUserReply(message); break;
    case 317: OnWhoisIdleReply(message); break;
    case 318: session.replyFlags[kWhoisListing] = false; break;
    case 319: OnWhoisChannelsReply(message); break;
    case 322: OnListReply(message); break;
    case 323: OnListEndReply(); break;
    case 324: OnChannelModeReply(message); break;
    case 329: OnCreationTimeReply(message); break;
    case 331: OnTopicReply(message, false); break;
    case 332: OnTopicReply(message, true); break;
    case 333: OnTopicSetterReply(message); break;
    case 341: OnInvitingReply(message); break;
    case 344: case 346: case 348: case 367: OnMaskListReply(message); break;
    case 345: case 347: case 349: case 368: OnMaskListEndReply(message); break;
    case 352: OnWhoReply(message); break;
    case 315: OnWhoEndReply(message); break;
    case 353: OnNamesReply(message); break;
    case 366: OnNamesEndReply(message); break;
    case 369: session.replyFlags[kWhowasListing] = false; PrintReplyParams(message); break;
    case 403: if (!OnNoSuchChannel(message)) return; break;
    default: PrintUnknownReply(message); break;
    }
    // clang-format on
    receivedScripts->FireOnNumericReply(number, message.GetParamsFrom(1));
}

// Whatever a reply says about a channel (its names, a refusal, a forward), the server has
// answered the JOIN of it.
void TIRCUnit::EndJoinWaitsNamedIn(const TIRCReceiveMessage& reply)
{
    if (session.awaitedJoins.empty())
        return;
    for (const CString& param : reply.params)
        if (IsChannelName(param))
            EndJoinWait(param);
}
