#include "Transmission.h"

#include "app/protocol/Crc8.h"

namespace skiffwire::peer {

bool Transmission::add(std::string_view datagram) {
  switch (protocol::Classify(datagram)) {
    case protocol::DatagramKind::StartMarker:
      reset();
      active_ = true;
      return false;
    case protocol::DatagramKind::Packet:
      active_ = true;
      payload_.append(datagram);
      ++packetCount_;
      return false;
    case protocol::DatagramKind::Checksum:
      active_ = true;
      checksum_ = protocol::ParseChecksumDatagram(datagram);
      return false;
    case protocol::DatagramKind::EndMarker:
      return true;
  }
  return false;
}

bool Transmission::verified() const {
  if (!checksum_) return false;
  return checksum_->crc == protocol::Crc8(payload_) && checksum_->length == payload_.size();
}

void Transmission::reset() {
  payload_.clear();
  packetCount_ = 0;
  checksum_.reset();
  active_ = false;
}

}  // namespace skiffwire::peer
