# Imported targets for the cross-built static libraries (roots come from deps.cmake).
if(KV_GTEST_ROOT)
  add_library(gtest STATIC IMPORTED)
  set_target_properties(gtest PROPERTIES IMPORTED_LOCATION ${KV_GTEST_ROOT}/lib/libgtest.a
                                         INTERFACE_INCLUDE_DIRECTORIES ${KV_GTEST_ROOT}/include)
  add_library(gmock STATIC IMPORTED)
  set_target_properties(gmock PROPERTIES IMPORTED_LOCATION ${KV_GTEST_ROOT}/lib/libgmock.a
                                         INTERFACE_LINK_LIBRARIES gtest)
endif()

if(KV_ONIG_ROOT)
  add_library(kv_onig STATIC IMPORTED)
  set_target_properties(kv_onig PROPERTIES IMPORTED_LOCATION ${KV_ONIG_ROOT}/lib/libonig.a
                                           INTERFACE_INCLUDE_DIRECTORIES ${KV_ONIG_ROOT}/include
                                           INTERFACE_COMPILE_DEFINITIONS ONIG_STATIC)
endif()

if(KV_JPEG_ROOT)
  add_library(kv_jpeg STATIC IMPORTED)
  set_target_properties(kv_jpeg PROPERTIES IMPORTED_LOCATION ${KV_JPEG_ROOT}/lib/libjpeg.a
                                           INTERFACE_INCLUDE_DIRECTORIES ${KV_JPEG_ROOT}/include)
endif()

if(KV_OPENSSL_ROOT)
  add_library(kv_crypto STATIC IMPORTED)
  set_target_properties(kv_crypto PROPERTIES IMPORTED_LOCATION ${KV_OPENSSL_ROOT}/lib/libcrypto.a
                                             INTERFACE_INCLUDE_DIRECTORIES ${KV_OPENSSL_ROOT}/include
                                             INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;advapi32;user32")
  add_library(kv_openssl STATIC IMPORTED)
  set_target_properties(kv_openssl PROPERTIES IMPORTED_LOCATION ${KV_OPENSSL_ROOT}/lib/libssl.a
                                              INTERFACE_LINK_LIBRARIES kv_crypto)
endif()
