// The device's int result codes and their standard texts. Every operation of
// the device, its handlers and its camera operations answer with these codes;
// 0 is success. The host asks for the text of a code with ErrorText.
//
// CopyToHostBuffer is the one rule for handing a text to the host: at most
// HostStringLimit - 1 characters and a NUL go into the host's buffer.
#pragma once

#include <string>

#include "module/mm_device.h"

namespace DeviceError {

enum Code : int {
  Ok = 0,
  GenericError = 1,
  InvalidPropertyName = 2,
  InvalidPropertyValue = 3,
  DuplicatePropertyName = 4,
  InvalidPropertyKind = 5,
  NativeModuleFailed = 6,
  UnsupportedDataFormat = 7,
  AdapterInconsistent = 8,
  DeviceNotSupported = 9,
  LabelNotDefined = 10,
  UnsupportedCommand = 11,
  InvalidState = 12,
  NoCallback = 13,
  SerialCommandFailed = 14,
  SerialBufferOverrun = 15,
  SerialUnexpectedResponse = 16,
  SerialTimeout = 17,
  SelfReference = 18,
  NoPropertyData = 19,
  PositionLabelInUse = 20,
  InvalidInputParameter = 21,
  BufferOverflow = 22,
  ChannelNotDefined = 23,
  InvalidPropertyLimits = 24,
  CameraBusy = 30,
  PropertyNotSettableNow = 32,
  ToBeDefined = 34,
  CommunicationFailed = 35,
  HubMissing = 36,
  DuplicateLibraryName = 37,
  PropertyNotSequenceable = 38,
  SequenceTooLarge = 39,
  NotYetImplemented = 41,
};

struct StandardText {
  int code;
  const char* text;
};

// The texts every device starts with, by code. Codes without an entry (25 to
// 29, 31, 33, 40 and all others) get the generic "Error code N (hex hex)".
// Texts 14 and 30 carry two spaces after the first full stop.
inline constexpr StandardText kStandardTexts[] = {
    {GenericError, "Unknown error in the device"},
    {InvalidPropertyName, "Invalid property name encountered"},
    {InvalidPropertyValue, "Invalid property value"},
    {DuplicatePropertyName, "Duplicate property names are not allowed"},
    {InvalidPropertyKind, "Invalid property type"},
    {NativeModuleFailed, "Native module failed to load"},
    {UnsupportedDataFormat, "Unsupported data format encountered"},
    {AdapterInconsistent, "Device adapter inconsistent with the actual device"},
    {DeviceNotSupported, "Device not supported by the adapter"},
    {LabelNotDefined, "Label not defined"},
    {UnsupportedCommand, "Unsupported device command"},
    {InvalidState, "Invalid state (position) requested"},
    {NoCallback, "No callback registered"},
    {SerialCommandFailed, "Serial command failed.  Is the device connected to the serial port?"},
    {SerialBufferOverrun, "Serial buffer overrun."},
    {SerialUnexpectedResponse,
     "Unexpected response from serial port. Is the device connected to the correct serial port?"},
    {SerialTimeout, "Serial timeout occurred."},
    {SelfReference, "Self reference error."},
    {NoPropertyData, "No property data error."},
    {PositionLabelInUse, "Position label already in use"},
    {InvalidInputParameter, "Invalid input parameter."},
    {BufferOverflow, "Buffer Overflow."},
    {ChannelNotDefined, "Requested channel is not defined."},
    {InvalidPropertyLimits,
     "Specified property limits are not valid. Either the property already has a set of "
     "discrete values, or the range is invalid"},
    {CameraBusy,
     "Camera is busy acquiring images.  Stop camera activity before changing this property"},
    {PropertyNotSettableNow, "The device can not set this property at this moment"},
    {ToBeDefined, "t.b.d."},
    {CommunicationFailed, "Unable to communicate with the device."},
    {HubMissing, "Parent module (Hub) is not available or defined for this device!"},
    {DuplicateLibraryName, "Duplicate Device Library Name"},
    {PropertyNotSequenceable, "This property is not sequenceable"},
    {SequenceTooLarge, "Sequence is too large for this device"},
    {NotYetImplemented, "This command has not yet been implemented for this device."},
};

}  // namespace DeviceError

// Writes at most HostStringLimit - 1 characters of text and a NUL into the
// host's buffer. A null buffer receives nothing.
void CopyToHostBuffer(char* buffer, const std::string& text);
