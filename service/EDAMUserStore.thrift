// The user store: the version check and authentication.

include "EDAMTypes.thrift"

namespace cpp edam

// The protocol version this client speaks, sent with checkVersion.
const i16 EDAM_VERSION_MAJOR = 1
const i16 EDAM_VERSION_MINOR = 15

service UserStore {
  bool checkVersion(1: string clientName,
                    2: i16 edamVersionMajor,
                    3: i16 edamVersionMinor),

  EDAMTypes.EDAMAuthenticationResult authenticate(1: string username,
                                                  2: string password,
                                                  3: string consumerKey,
                                                  4: string consumerSecret)
    throws (1: EDAMTypes.EDAMUserException userException,
            2: EDAMTypes.EDAMSystemException systemException)
}
