#include "app/ui/strings.h"

#include <map>

#include "host/runtime/errors.h"

namespace tw::app {

namespace {

// The texts are kept exactly as the program shows them, spelling and double
// blanks included.
const std::map<int, std::string>& table() {
  static const std::map<int, std::string> texts = {
    {101, "Good for CD writing by ensuring plenty of free RAM and using a large chunksize to minimize CPU usage."},
    {102, "Good setting for file servers or higher memory systems by allowing a larger cache size for quicker file access."},
    {103, "Helps game performance by using a static cache size and larger chunksize to minimize CPU usage."},
    {104, "The settings that were in place when the progam was first launched."},
    {105, "The settings that were in place when the program was installed."},
    {106, "Disables all cache settings and restores control to Windows."},
    {107, "Uses a larger cache size and larger chunksize for improved multimedia performance."},
    {108, "Good for normal day-to-day activities like internet browsing."},
    {109, "Uses a large cache and smaller chunksize to optimize memory use for large program usage."},
    {110, "Custom configuration."},
    {111, "Welcome to Tunewell Pro!"},
    {112, "See at a glance how well your system is tuned. Hold your cursor over a gauge for details."},
    {113, "Take control of your cache instead of it taking control of your memory!"},
    {114, "Fine tune your system into a performance masterpiece!"},
    {115, "You can tweak Tunewell to your particular tastes also!"},
    {116, "Need some help? Then you've come to the right place!"},
    {117, "This gauge shows how much of your processor power is currently being used."},
    {118, "This gauge shows how much of your computer's virtual memory is in use."},
    {119, "This gauge shows how much of your computer's system  resources are in use."},
    {122, "This gauge shows how much of your physical memory (RAM) is being used."},
    {123, "This gauge shows how much of your physical memory is occupied by the disk cache."},
    {124, "This gauge shows how much of your hard drive space is being used."},
    {125, "This gauge shows how much of your hard drive is occupied by the swap file."},
    {126, "Take control of your cache before it takes control of your memory!"},
    {127, "You can select from several configurations, or type a name in the box below to create your own."},
    {128, "Type a name for your custom settings in the box, then click here to save them."},
    {129, "Click here to remove the currently selected configuration."},
    {130, "This slider sets the minimum size of the disk cache."},
    {131, "This slider sets the maximum size of the disk cache."},
    {132, "Windows stores cached data in groups called chunks, and this lets you change their size."},
    {133, "This sets the number of recently accessed file names that Windows will store."},
    {134, "This sets the number of recently accessed file paths that Windows will store."},
    {135, "Some handy tools to further tweak your system to perfection."},
    {136, "Make your processor give greater priority to your programs."},
    {137, "Make your processor give greater priority to your memory."},
    {138, "Make your processor give greater priority to your PCI devices."},
    {139, "Make your processor give greater priority to your AGP video."},
    {140, "Have Windows remove system files from memory when they are not being used."},
    {141, "Have Windows only make use of virtual memory when your physical memory is used up."},
    {142, "Create a memory buffer to optimize swap file use."},
    {143, "Optimize your COM port settings for better data exchange rates."},
    {144, "Change the size of the free space that Windows looks for when writing to the hard drive."},
    {145, "Set a memory buffer to optimize hard drive access."},
    {146, "Set a memory buffer to optimize DMA (direct memory access) performance."},
    {147, "Improve your system stability by increasing the size of the processor stack."},
    {148, "Adjust the amount amount of memory that Windows can use to store icons."},
    {149, "Select the speed of your CD-ROM drive to optimize drive access."},
    {150, "Adjust the amount of memory Windows uses to cache CD-ROM data."},
    {151, "Adjust the settings that Disk Defragmenter uses to rearrange your programs and optimize disk access."},
    {152, "Set the maximum number of programs that Disk Defragmenter will rearrange."},
    {153, "Set the number of days at which Disk Defragmenter will stop optimizing an unused program."},
    {154, "Set the minimum size that a program file must be to qualify for rearranging."},
    {155, "Have the Tunewell tray icon display your processor usage."},
    {156, "Have the Tunewell tray icon display your system resource usage."},
    {157, "Have the Tunewell tray icon display your system memory usage."},
    {158, "Have the Tunewell tray icon display your physical memory usage."},
    {159, "Have the Tunewell tray icon display your current disk cache size."},
    {160, "Have the Tunewell tray icon display your hard drive use."},
    {161, "Have the Tunewell tray icon display your current swap file size."},
    {162, "Select the refresh rate of the status gauges and tray icon display."},
    {163, "Make Tunewell stay on top of all other windows."},
    {164, "Load the Tunewell tray utility when Tunewell is not running."},
    {165, "Load the Tunewell tray utility at Windows startup."},
    {166, "Returns your system to the state it was in prior to running Tunewell."},
    {167, "Returns your system to the Windows default settings."},
    {168, "Apply the selected Restore option and exit Tunewell."},
    {169, "Apply all Tunewell settings and exit."},
    {170, "Exit Tunewell without applying changes."},
    {171, "Turn off the beautiful but annoying splash screen."},
    {172, "Visit the Brightfen Software website."},
    {173, "To launch other useful Windows system tools, select desired tool from list and click the Launch button."},
    {174, "Click here to browse for another useful tool to add to the list."},
    {175, "Oh, so Tunewell isn't good enough anymore? Fine, go ahead and launch another tool."},
    {176, "Select this option to automatically update your local help files when viewing the online help."},
    {177, "This shows the name of your computer."},
    {178, "This shows what Windows operating system you are using."},
    {179, "This shows the Windows version number."},
    {180, "This identifies your computer's BIOS."},
    {181, "This shows the name of the person Windows is registered to."},
    {182, "This shows your aproximate processor speed."},
    {183, "This shows your processor brand or type."},
    {184, "This shows the total amount of physical memory installed."},
    {185, "This shows the size of your primary hard drive."},
    {186, "This shows what file system your computer is using."},
  };
  return texts;
}

}  // namespace

std::string LoadResString(int id) {
  const auto& texts = table();
  const auto it = texts.find(id);
  if (it == texts.end()) {
    constexpr int kResourceNotFound = 326;
    throw RuntimeError(kResourceNotFound, "Resource with identifier '" + std::to_string(id) + "' not found");
  }
  return it->second;
}

}  // namespace tw::app
