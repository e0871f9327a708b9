#pragma once

// The sized text fields of the three requests, each described once: its key and the reply for
// each way reading it can fail.

struct TextField {
    const char* key;
    const char* bad;  // a missing line, a failed scan or a count below 1
    const char* allocationFailure;
    const char* readFailure;
};

inline constexpr TextField kTitleField = {"TITLE", "Error: Bad title",
                                          "Error: failed allocating title buffer",
                                          "Error: failed reading title"};
inline constexpr TextField kMessageField = {"MESSAGE", "Error: Bad message",
                                            "Error: failed allocating message buffer",
                                            "Error: failed reading message"};
inline constexpr TextField kAutoMessageField = {"AUTOMESSAGE", "Error: Bad auto message error",
                                                "Error: failed allocating autoMessage buffer",
                                                "Error: failed reading autoMessage"};
inline constexpr TextField kButtonTextField = {"BUTTONTEXT", "Error: Bad button text",
                                               "Error: failed allocating button buffer",
                                               "Error: failed reading button text"};
inline constexpr TextField kPreviewField = {"ACTIONPREVIEW", "Error: Bad preview",
                                            "Error: failed allocating preview buffer",
                                            "Error: failed reading preview"};
inline constexpr TextField kActionMessageField = {"ACTIONITEMMSG", "Error: Bad action message",
                                                  "Error: failed allocating action message buffer",
                                                  "Error: failed reading message"};
inline constexpr TextField kActionBodyField = {"ACTIONITEMBODY", "Error: Bad action body",
                                               "Error: failed allocating action body buffer",
                                               "Error: failed reading body"};
inline constexpr TextField kActionTitleField = {"ACTIONITEMTITLE", "Error: Bad action title",
                                                "Error: failed allocating action title buffer",
                                                "Error: failed reading title"};
inline constexpr TextField kTranslationPathField = {
    "XLATEPATH", "Error: missing xlatepath", "Error: failed allocating translation file buffer",
    "Error: failed reading translation file path"};
// Optional: a missing or different line means no image, so it has no `bad` reply.
inline constexpr TextField kImagePathField = {"IMAGEPATH", nullptr,
                                              "Error: failed allocating image file buffer",
                                              "Error: failed reading image file path"};

// Every sized field, for what goes over all of them (the fuzzers name a reply's field with it).
inline constexpr const TextField* kTextFields[] = {
    &kTitleField,           &kMessageField,       &kAutoMessageField, &kButtonTextField,
    &kPreviewField,         &kActionMessageField, &kActionBodyField,  &kActionTitleField,
    &kTranslationPathField, &kImagePathField};
